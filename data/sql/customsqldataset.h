#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/sql/connectionclient.h"
#include "data/dataset/dataset.h"
#include "data/dataset/params.h"
#include "data/dataset/providersupport.h"
#include "data/sql/sqlerror.h"
#include "platform/sqldriver.h"

namespace contado {

class TSQLConnection;

enum TSQLCommandType { ctQuery, ctTable, ctStoredProc };

// A statement of the connection read as a forward-only stream of rows with typed fields. It is the
// source dataset of a provider: it answers the provider's questions about table, quoting and
// transactions and runs the statements the provider generates.
class TCustomSQLDataSet : public TDataSet, public IProviderSupport, public TConnectionClient {
  public:
    explicit TCustomSQLDataSet(TComponent* owner = nullptr);
    ~TCustomSQLDataSet() override;

    TSQLConnection* SQLConnection() const { return connection_; }
    void SetSQLConnection(TSQLConnection* connection);
    const std::string& CommandText() const { return commandText_; }
    // Leading characters up to the blank are dropped; the same text again changes nothing.
    void SetCommandText(const std::string& text);
    TSQLCommandType CommandType() const { return commandType_; }
    void SetCommandType(TSQLCommandType type);
    TParams& Params() { return params_; }
    const TParams& Params() const { return params_; }
    // On: a command text that is not a table name has its named parameters collected into Params.
    bool ParamCheck() const { return paramCheck_; }
    void SetParamCheck(bool value) { paramCheck_ = value; }
    int MaxBlobSize() const { return maxBlobSize_; }
    void SetMaxBlobSize(int size) { maxBlobSize_ = size; }
    // Off: no index information is read from the server, so no key fields are known.
    bool GetMetadata() const { return getMetadata_; }
    void SetGetMetadata(bool value) { getMetadata_ = value; }
    bool NoMetadata() const { return noMetadata_; }
    void SetNoMetadata(bool value) { noMetadata_ = value; }

    ISQLCommand* Command() const { return command_.get(); }
    ISQLCursor* Cursor() const { return cursor_.get(); }
    // The statement text as it was prepared.
    const std::string& NativeCommand() const { return nativeCommand_; }
    bool Prepared() const { return prepared_; }
    const std::string& LastError() const { return lastError_; }
    std::int64_t RowsAffected() const { return rowsAffected_; }
    // SQL datasets read their rows once, in server order: a filter is not possible.
    void SetFiltered(bool filtered);

    // --- Provider services
    std::string PSGetTableName() override;
    std::string PSGetQuoteChar() override;
    bool PSInTransaction() override;
    void PSStartTransaction() override;
    void PSEndTransaction(bool commit) override;
    std::int64_t PSExecuteStatement(const std::string& sql, const TParams& params) override;
    std::string PSGetKeyFields() override;
    void PSGetAttributes(TPacketAttributes& attributes) override;
    EUpdateError PSGetUpdateException(const Exception* error, const EUpdateError* previous) override;
    void PSReset() override;
    void PSExecute() override;
    void PSSetCommandText(const std::string& commandText) override { SetCommandText(commandText); }
    TParams PSGetParams() override { return params_; }
    void PSSetParams(const TParams& params) override;

    // --- The connection's notices
    void ConnectionChanged(bool connected) override;
    void CloseForDisconnect() override;

  protected:
    void InternalOpen() override;
    void InternalClose() override;
    bool IsCursorOpen() const override { return cursor_ != nullptr; }
    void InternalFirst() override;
    void InternalLast() override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) override;
    bool IsUniDirectional() const override { return true; }
    void ComponentDestroying(TComponent* component) override;

    // The text handed to the driver; a table dataset builds it from the table name.
    virtual std::string StatementText();
    // The connection, connected; "SQLConnection property required for this operation" without one.
    TSQLConnection& OpenConnection();
    // Drops the cursor and the prepared statement.
    void FreeStatement();

  private:
    void CheckStatement() const;
    void Prepare();
    void PrepareCommand(const std::string& text);
    [[noreturn]] void RaisePrepareFailure();
    // Binds the parameters and runs the prepared statement.
    void RunCommand(std::unique_ptr<ISQLCursor>& cursor);
    // Runs it for the rows: "Cursor not returned from Query" when it gives none.
    void ExecuteCommand();
    void ReadFieldDefs();
    void ReadRow(TRecordBuffer& buffer);
    void ReadColumnValue(int column, const TDriverValue& value, TVariant& target) const;
    void CloseCursor();
    void CollectParams();
    template <typename Handle>
    void Check(SQLResult status, Handle* handle) {
        TSQLError::Check(status, handle, lastError_);
    }

    TSQLConnection* connection_ = nullptr;
    std::string commandText_;
    TSQLCommandType commandType_ = ctQuery;
    TParams params_;
    bool paramCheck_ = true;
    int maxBlobSize_ = 0;
    bool getMetadata_ = true;
    bool noMetadata_ = false;

    std::unique_ptr<ISQLCommand> command_;
    std::unique_ptr<ISQLCursor> cursor_;
    std::string nativeCommand_;
    bool prepared_ = false;
    std::string lastError_;
    std::int64_t rowsAffected_ = 0;
    int rowsRead_ = 0;  // rows the cursor has given since it was opened
};

}  // namespace contado
