#pragma once

#include <firebird/Interface.h>

#include "platform/fbdriver/fbref.h"

namespace contado {

class TFbSession;

// The transaction a statement runs in: the connection's explicit one when it is active, otherwise
// one of the statement's own, which Commit and Rollback end and which is rolled back if it is left
// unended.
class TFbTransactionScope {
  public:
    explicit TFbTransactionScope(TFbSession& session);
    ~TFbTransactionScope() { Rollback(); }
    TFbTransactionScope(TFbTransactionScope&&) = default;
    TFbTransactionScope& operator=(TFbTransactionScope&&) = delete;

    Firebird::ITransaction* Get() const { return transaction_.Get(); }
    void Commit();
    // Never fails: a rollback that the server refuses leaves the transaction to end with the attachment.
    void Rollback() noexcept;

  private:
    TFbSession* session_;
    TFbRef<Firebird::ITransaction> transaction_;
    bool own_ = false;
};

}  // namespace contado
