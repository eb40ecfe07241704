#include "platform/fbdriver/fbtransactionscope.h"

#include "platform/fbdriver/fbsession.h"

namespace contado {

TFbTransactionScope::TFbTransactionScope(TFbSession& session) : session_(&session) {
    Firebird::ITransaction* explicitTransaction = session.ExplicitTransaction();
    if (explicitTransaction != nullptr) {
        // A reference of our own: the connection may end it while a cursor still holds it.
        explicitTransaction->addRef();
        transaction_.Reset(explicitTransaction);
    } else {
        transaction_.Reset(session.StartTransaction(session.Options().IsolationLevel));
        own_ = true;
    }
}

void TFbTransactionScope::Commit() {
    if (own_ && transaction_) {
        Firebird::ThrowStatusWrapper* status = session_->Status();
        transaction_.End([status](Firebird::ITransaction* ending) { ending->commit(status); });
    }
}

void TFbTransactionScope::Rollback() noexcept {
    if (own_ && transaction_) {
        try {
            Firebird::ThrowStatusWrapper* status = session_->Status();
            transaction_.End([status](Firebird::ITransaction* ending) { ending->rollback(status); });
        } catch (const Firebird::FbException&) {
            transaction_.Reset();
        }
    }
}

}  // namespace contado
