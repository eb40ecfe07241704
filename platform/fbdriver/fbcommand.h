#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fbdriver/fbparametermessage.h"
#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbrowlayout.h"
#include "platform/fbdriver/fbsessionresource.h"
#include "platform/sqldriver.h"

namespace contado {

class TFbSession;
class TFbTransactionScope;

// One prepared statement. It runs in the connection's explicit transaction when one is active, else
// in a transaction of its own: committed right after a statement without rows, handed to the cursor
// otherwise, rolled back when the statement fails.
class TFbCommand : public ISQLCommand, private TFbSessionResource {
  public:
    explicit TFbCommand(std::shared_ptr<TFbSession> session);
    ~TFbCommand() override;

    SQLResult setOption(int option, std::int32_t value) override;
    SQLResult prepare(const std::string& sql, std::uint16_t parameterCount) override;
    SQLResult setParameter(std::uint16_t position, const TDriverValue& value) override;
    SQLResult execute(std::unique_ptr<ISQLCursor>& cursor) override;
    SQLResult getRowsAffected(std::int64_t& rows) override;
    SQLResult getErrorMessage(std::string& message) override;
    SQLResult close() override;

  private:
    void ReleaseForDetach() override { ReleaseStatement(); }
    void Prepare(const std::string& sql);
    void Execute(std::unique_ptr<ISQLCursor>& cursor);
    std::unique_ptr<ISQLCursor> OpenCursor(TFbTransactionScope& transaction);
    std::unique_ptr<ISQLCursor> Run(TFbTransactionScope& transaction);
    void ReleaseStatement();

    std::shared_ptr<TFbSession> session_;
    TFbRef<Firebird::IStatement> statement_;
    TFbRef<Firebird::IMessageMetadata> inputMetadata_;
    std::shared_ptr<const TFbRowLayout> layout_;
    bool hasCursor_ = false;
    TFbParameterMessage input_;
    std::vector<TDriverValue> values_;
    std::int64_t rowsAffected_ = 0;
    std::string errorText_;
};

}  // namespace contado
