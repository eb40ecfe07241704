#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data/dataset/params.h"
#include "data/sql/connectionparams.h"
#include "data/sql/customconnection.h"
#include "data/sql/sqlerror.h"
#include "data/sql/sqlstatementcache.h"
#include "platform/sqldriver.h"

namespace contado {

enum TConnectionState {
    csStateClosed,
    csStateOpen,
    csStateConnecting,
    csStateExecuting,
    csStateFetching,
    csStateDisconnecting
};

// The database connection: loads the driver library named by its settings, connects with the
// values of Params, runs transactions and statements, and gives SQL datasets their commands. Every
// failing driver status becomes an EDatabaseError with the message of TSQLError.
class TSQLConnection : public TCustomConnection {
  public:
    // Told true when a connect starts and false when it ends, to show a busy cursor meanwhile.
    using TBusyCursorHook = std::function<void(bool busy)>;

    explicit TSQLConnection(TComponent* owner = nullptr);
    ~TSQLConnection() override;

    const std::string& ConnectionName() const { return connectionName_; }
    void SetConnectionName(const std::string& name) { connectionName_ = name; }
    const std::string& DriverName() const { return driverName_; }
    void SetDriverName(const std::string& name) { driverName_ = name; }
    const std::string& LibraryName() const { return libraryName_; }
    void SetLibraryName(const std::string& name) { libraryName_ = name; }
    const std::string& GetDriverFunc() const { return getDriverFunc_; }
    void SetGetDriverFunc(const std::string& name) { getDriverFunc_ = name; }
    const std::string& VendorLib() const { return vendorLib_; }
    void SetVendorLib(const std::string& name) { vendorLib_ = name; }
    // No login dialog exists below the user interface: user and password always come from Params.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool value) { loginPrompt_ = value; }
    bool KeepConnection() const { return keepConnection_; }
    void SetKeepConnection(bool value) { keepConnection_ = value; }
    // Params come from no file, so reloading them on connect changes nothing.
    bool LoadParamsOnConnect() const { return loadParamsOnConnect_; }
    void SetLoadParamsOnConnect(bool value) { loadParamsOnConnect_ = value; }
    TConnectionParams& Params() { return params_; }
    const TConnectionParams& Params() const { return params_; }

    static void SetBusyCursorHook(TBusyCursorHook hook);

    TConnectionState ConnectionState() const { return state_; }
    // "" or the one character that quotes identifiers.
    const std::string& QuoteChar() const { return quoteChar_; }
    bool TransactionsSupported() const { return transactionsSupported_; }
    bool MultipleTransactionsSupported() const { return multipleTransactionsSupported_; }
    int TransactionCount() const { return transactionCount_; }
    bool InTransaction() const { return transactionCount_ > 0; }
    // From "Interbase TransIsolation" (the key follows DriverName): 1 repeatable read, 2 dirty read,
    // 0 read committed.
    std::uint32_t IsolationLevel() const;
    // Identifier 1, global 0, the isolation level, custom isolation 0.
    TTransactionDesc TransactionDesc() const;
    // "LocaleCode" read as a hexadecimal number; 0 when absent or not a number.
    int LocaleCode() const;
    // "RowsetSize" as a number; 20 when absent or not a number.
    int RowsetSize() const;
    const std::string& LastErrorText() const { return lastErrorText_; }
    // The statements that Execute keeps prepared.
    const TSQLStatementCache& StatementCache() const { return statements_; }

    void StartTransaction(const TTransactionDesc& desc);
    void Commit(const TTransactionDesc& desc);
    void Rollback(const TTransactionDesc& desc);

    // Runs a statement without a result set and answers the number of rows it affected. With
    // parameters, named markers become " ? " and the values bind by position.
    std::int64_t Execute(const std::string& sql, const TParams* params = nullptr);

    // For SQL datasets: a new command handle (raises the driver's error), and a name quoted the way
    // the driver quotes it (options 26 and 30).
    std::unique_ptr<ISQLCommand> NewCommand();
    std::string DriverQuotedName(const std::string& name);
    // Raises the message for a failing status of one of this connection's handles, keeping it as
    // the last error text.
    template <typename Handle>
    void Check(SQLResult status, Handle* handle);

  protected:
    bool GetConnected() const override;
    void DoConnect() override;
    void DoDisconnect() override;

  private:
    void CheckSettings() const;
    void LoadDriver();
    void SetConnectionOptions();
    void SetTextOption(const char* key, int option);
    void SetBooleanOption(const char* key, int option);
    void SetIntegerOption(const char* key, int option);
    void ReadCapabilities();
    void ReleaseHandles();
    void CheckOpenConnection() const;
    const std::string& PlaceholderText(const std::string& sql);
    void SetStatementKey(const std::string& text, std::uint16_t parameterCount);
    ISQLCommand& CachedCommand(const std::string& text, std::uint16_t parameterCount,
                               std::unique_ptr<ISQLCommand>& prepared);
    std::int64_t Run(ISQLCommand& command, const TParams* params);
    std::string ClosedConnectionMessage() const;

    std::string connectionName_;
    std::string driverName_;
    std::string libraryName_;
    std::string getDriverFunc_;
    std::string vendorLib_;
    bool loginPrompt_ = true;
    bool keepConnection_ = true;
    bool loadParamsOnConnect_ = false;
    TConnectionParams params_;

    void* library_ = nullptr;
    std::unique_ptr<ISQLDriver> driver_;
    std::unique_ptr<ISQLConnection> connection_;
    std::unique_ptr<ISQLMetaData> metaData_;
    TConnectionState state_ = csStateClosed;
    std::string quoteChar_;
    bool transactionsSupported_ = false;
    bool multipleTransactionsSupported_ = false;
    int transactionCount_ = 0;
    std::string lastErrorText_;
    TSQLStatementCache statements_;
    std::string placeholderText_;  // the last statement text with named markers rewritten
    std::string statementKey_;     // the cache key of the statement being run
};

template <typename Handle>
void TSQLConnection::Check(SQLResult status, Handle* handle) {
    TSQLError::Check(status, handle, lastErrorText_);
}

}  // namespace contado
