#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbrowlayout.h"
#include "platform/fbdriver/fbsessionresource.h"
#include "platform/fbdriver/fbtransactionscope.h"
#include "platform/sqldriver.h"

namespace contado {

class TFbSession;

// The rows of an executed statement: an open result, or the single row that a procedure or a
// statement with a returning clause answered. Closing it after success commits the statement's own
// transaction; a failed fetch rolls it back at once.
class TFbCursor : public ISQLCursor, private TFbSessionResource {
  public:
    // Over an open result; the cursor keeps a reference to the statement it belongs to.
    TFbCursor(std::shared_ptr<TFbSession> session, std::shared_ptr<const TFbRowLayout> layout,
              TFbRef<Firebird::IStatement> statement, TFbTransactionScope transaction,
              TFbRef<Firebird::IResultSet> resultSet);
    // Over one row already fetched.
    TFbCursor(std::shared_ptr<TFbSession> session, std::shared_ptr<const TFbRowLayout> layout,
              TFbTransactionScope transaction, std::vector<unsigned char> row);
    ~TFbCursor() override;

    SQLResult getColumnCount(std::uint16_t& count) override;
    SQLResult getColumnDescription(std::uint16_t column, TColumnDescription& description) override;
    SQLResult next() override;
    SQLResult getValue(std::uint16_t column, TDriverValue& value) override;
    SQLResult getErrorMessage(std::string& message) override;
    SQLResult close() override;

  private:
    void ReleaseForDetach() override;
    SQLResult Fetch();
    // Closes the result and ends the transaction: committed after success, rolled back otherwise.
    void Finish(bool success);
    void CheckColumn(std::uint16_t column) const;

    std::shared_ptr<TFbSession> session_;
    std::shared_ptr<const TFbRowLayout> layout_;
    TFbRef<Firebird::IStatement> statement_;
    TFbTransactionScope transaction_;
    TFbRef<Firebird::IResultSet> resultSet_;
    std::vector<unsigned char> row_;
    bool singleRowPending_ = false;
    bool onRow_ = false;
    bool finished_ = false;
    std::string errorText_;
};

}  // namespace contado
