#include "data/sql/sqlconnection.h"

#include <dlfcn.h>

#include <charconv>
#include <filesystem>

#include "core/exceptions.h"
#include "core/textutil.h"
#include "data/sql/driverparameter.h"
#include "data/sql/driverstop.h"
#include "data/sql/parametermarkers.h"

namespace contado {

namespace {

constexpr int kDefaultRowsetSize = 20;
constexpr int kNoBlobSizeLimit = -1;
constexpr std::size_t kQuotedNameSize = 256;

TSQLConnection::TBusyCursorHook& BusyCursorHook() {
    static TSQLConnection::TBusyCursorHook hook;
    return hook;
}

// Shows the busy cursor for as long as it lives.
class TBusyCursor {
  public:
    TBusyCursor() { Tell(true); }
    ~TBusyCursor() { Tell(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

  private:
    static void Tell(bool busy) {
        if (BusyCursorHook()) {
            BusyCursorHook()(busy);
        }
    }
};

bool ParseInteger(const std::string& text, int& value, int base = 10) {
    const std::string trimmed = Trim(text);
    const char* end = trimmed.data() + trimmed.size();
    const auto result = std::from_chars(trimmed.data(), end, value, base);
    return !trimmed.empty() && result.ec == std::errc() && result.ptr == end;
}

// A library named without a folder is looked for beside the program first, then on the library path.
std::string LibraryPath(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = program.parent_path() / name;
        if (std::filesystem::exists(beside, error)) {
            return beside.string();
        }
    }
    return name;
}

std::intptr_t TextArgument(const std::string& text) {
    return reinterpret_cast<std::intptr_t>(text.c_str());
}

}  // namespace

TSQLConnection::TSQLConnection(TComponent* owner) : TCustomConnection(owner) {}

TSQLConnection::~TSQLConnection() {
    try {
        DoDisconnect();
    } catch (const std::exception&) {
        // Going away: the handles are released either way.
    }
}

void TSQLConnection::SetBusyCursorHook(TBusyCursorHook hook) {
    BusyCursorHook() = std::move(hook);
}

bool TSQLConnection::GetConnected() const {
    return connection_ != nullptr && state_ != csStateClosed && state_ != csStateConnecting &&
           state_ != csStateDisconnecting;
}

std::uint32_t TSQLConnection::IsolationLevel() const {
    const std::string level = LowerCase(Trim(params_.Value(driverName_ + " TransIsolation")));
    if (level == "repeatableread") {
        return 1;
    }
    return level == "dirtyread" ? 2 : 0;
}

TTransactionDesc TSQLConnection::TransactionDesc() const {
    TTransactionDesc desc;
    desc.IsolationLevel = IsolationLevel();
    return desc;
}

int TSQLConnection::LocaleCode() const {
    int code = 0;
    return ParseInteger(params_.Value("LocaleCode"), code, 16) ? code : 0;
}

int TSQLConnection::RowsetSize() const {
    int size = 0;
    return ParseInteger(params_.Value("RowsetSize"), size) ? size : kDefaultRowsetSize;
}

void TSQLConnection::DoConnect() {
    CheckSettings();
    state_ = csStateConnecting;
    const TBusyCursor busy;
    try {
        LoadDriver();
        Check(driver_->getSQLConnection(connection_), static_cast<ISQLConnection*>(nullptr));
        const std::string password = params_.Value("PASSWORD");
        const std::string user = params_.Value("USER_NAME");
        const std::string database = Trim(params_.Value("Database"));
        SetConnectionOptions();
        Check(connection_->connect(database, user, password), connection_.get());
        std::int32_t maxStatements = 0;
        std::int32_t length = 0;
        connection_->getOption(connoption::kMaxStatementsPerConnection, &maxStatements, sizeof(maxStatements),
                               length);
        Check(connection_->getSQLMetaData(metaData_), connection_.get());
        const std::string schema = Trim(user);
        if (!schema.empty()) {
            metaData_->setOption(metaoption::kSchemaName, TextArgument(schema));
        }
        ReadCapabilities();
        state_ = csStateOpen;
    } catch (...) {
        state_ = csStateClosed;
        library_ = nullptr;  // forgotten, not unloaded: the next connect loads it again
        ReleaseHandles();
        throw;
    }
}

void TSQLConnection::CheckSettings() const {
    if (driverName_.empty()) {
        throw EDatabaseError("Missing DriverName property");
    }
    if (Trim(libraryName_).empty() || Trim(vendorLib_).empty()) {
        throw EDatabaseError(PrefixedMessage(Name(), "DLL/Shared Library Name not Set"));
    }
    if (Trim(params_.Value("Database")).empty()) {
        throw EDatabaseError(connectionName_.empty() ? "Connection name missing"
                                                     : "Missing Database property");
    }
}

void TSQLConnection::LoadDriver() {
    const std::string libraryName = Trim(libraryName_);
    if (library_ == nullptr) {
        library_ = dlopen(LibraryPath(libraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library_ == nullptr) {
            throw EDatabaseError(FormatMessage("Unable to Load %s", libraryName));
        }
    }
    const std::string functionName = Trim(getDriverFunc_);
    auto factory = reinterpret_cast<TGetDriverFunc>(dlsym(library_, functionName.c_str()));
    if (factory == nullptr) {
        throw EDatabaseError(FormatMessage("Unable to Find Procedure %s", functionName));
    }
    TDriverStop::Remember(library_, functionName);
    ISQLDriver* driver = nullptr;
    const SQLResult status =
        factory(vendorLib_.c_str(), Trim(params_.Value("ErrorResourceFile")).c_str(), &driver);
    driver_.reset(driver);
    if (status != sqlstatus::kSuccess) {
        throw EDatabaseError(FormatMessage("Unable to Load %s", vendorLib_));
    }
}

// The options in the driver's order; their statuses do not matter.
void TSQLConnection::SetConnectionOptions() {
    SetTextOption("HostName", connoption::kHostName);
    SetTextOption("RoleName", connoption::kRoleName);
    SetBooleanOption("WaitOnLocks", connoption::kWaitOnLocks);
    SetBooleanOption("CommitRetain", connoption::kCommitRetain);
    SetBooleanOption("AutoCommit", connoption::kAutoCommit);
    SetBooleanOption("BlockingMode", connoption::kBlockingMode);
    const std::string charSet = Trim(params_.Value("ServerCharSet"));
    if (!charSet.empty()) {
        connection_->setOption(connoption::kServerCharSet, TextArgument(charSet));
    }
    connection_->setOption(connoption::kTransactionIsolation, IsolationLevel());
    SetIntegerOption("SQLDialect", connoption::kSQLDialect);
    SetBooleanOption("OS Authentication", connoption::kOSAuthentication);
    SetTextOption("Server Port", connoption::kServerPort);
    SetBooleanOption("Multiple Transaction", connoption::kMultipleTransactions);
    SetBooleanOption("Trim Char", connoption::kTrimChar);
    SetTextOption("Custom String", connoption::kCustomString);
    SetIntegerOption("Connection Timeout", connoption::kConnectionTimeout);
    SetIntegerOption("Lock Timeout", connoption::kLockTimeout);
    SetIntegerOption("Answer Timeout", connoption::kAnswerTimeout);
}

void TSQLConnection::SetTextOption(const char* key, int option) {
    if (params_.HasName(key)) {
        connection_->setOption(option, TextArgument(Trim(params_.Value(key))));
    }
}

void TSQLConnection::SetBooleanOption(const char* key, int option) {
    if (params_.HasName(key)) {
        connection_->setOption(option, UpperCase(Trim(params_.Value(key))) == "TRUE" ? 1 : 0);
    }
}

void TSQLConnection::SetIntegerOption(const char* key, int option) {
    int value = 0;
    if (ParseInteger(params_.Value(key), value)) {
        connection_->setOption(option, value);
    }
}

void TSQLConnection::ReadCapabilities() {
    char quote = '\0';
    std::int32_t length = 0;
    const bool quoteRead =
        metaData_->getOption(metaoption::kObjectQuoteChar, &quote, 1, length) == sqlstatus::kSuccess;
    quoteChar_ = quoteRead && quote != '\0' ? std::string(1, quote) : std::string();
    int blobSize = kNoBlobSizeLimit;
    if (params_.HasName("BlobSize") && !ParseInteger(params_.Value("BlobSize"), blobSize)) {
        blobSize = kNoBlobSizeLimit;
    }
    connection_->setOption(connoption::kBlobSize, blobSize);
    std::int32_t supported = 0;
    transactionsSupported_ = metaData_->getOption(metaoption::kSupportsTransactions, &supported,
                                                  sizeof(supported), length) == sqlstatus::kSuccess &&
                             supported != 0;
    supported = 0;
    multipleTransactionsSupported_ =
        metaData_->getOption(metaoption::kSupportsMultipleTransactions, &supported, sizeof(supported),
                             length) == sqlstatus::kSuccess &&
        supported != 0;
}

void TSQLConnection::DoDisconnect() {
    if (driver_ == nullptr) {
        return;
    }
    state_ = csStateDisconnecting;
    for (int index = DataSetCount() - 1; index >= 0; --index) {
        DataSets(index)->CloseForDisconnect();
    }
    statements_.Clear();
    metaData_.reset();
    if (connection_ != nullptr) {
        connection_->disconnect();
    }
    connection_.reset();
    transactionCount_ = 0;
    library_ = nullptr;
    state_ = csStateClosed;
    driver_.reset();
}

void TSQLConnection::ReleaseHandles() {
    statements_.Clear();
    metaData_.reset();
    connection_.reset();
    driver_.reset();
}

std::string TSQLConnection::ClosedConnectionMessage() const {
    return PrefixedMessage(Name(), "Cannot perform this operation on a closed connection");
}

void TSQLConnection::CheckOpenConnection() const {
    if (connection_ == nullptr) {
        throw EDatabaseError(ClosedConnectionMessage());
    }
}

void TSQLConnection::StartTransaction(const TTransactionDesc& desc) {
    if (!Connected()) {
        Open();
    }
    if (!Connected()) {
        throw EDatabaseError(ClosedConnectionMessage());
    }
    if (!transactionsSupported_) {
        return;
    }
    if (transactionCount_ > 0 && !multipleTransactionsSupported_) {
        throw EDatabaseError(PrefixedMessage(Name(), "A transaction is already active"));
    }
    const SQLResult status = connection_->beginTransaction(desc);
    if (status != sqlstatus::kNotSupported) {
        Check(status, connection_.get());
        ++transactionCount_;
    }
}

void TSQLConnection::Commit(const TTransactionDesc& desc) {
    if (!transactionsSupported_) {
        return;
    }
    if (transactionCount_ == 0) {
        throw EDatabaseError(PrefixedMessage(Name(), "There is no active transaction"));
    }
    CheckOpenConnection();
    const SQLResult status = connection_->commit(desc);
    if (status != sqlstatus::kNotSupported) {
        Check(status, connection_.get());
        --transactionCount_;
    }
}

void TSQLConnection::Rollback(const TTransactionDesc& desc) {
    if (!transactionsSupported_) {
        return;
    }
    if (transactionCount_ == 0) {
        throw EDatabaseError(PrefixedMessage(Name(), "There is no active transaction"));
    }
    CheckOpenConnection();
    const SQLResult status = connection_->rollback(desc);
    if (status != sqlstatus::kNotSupported) {
        Check(status, connection_.get());
        --transactionCount_;
    }
}

std::int64_t TSQLConnection::Execute(const std::string& sql, const TParams* params) {
    if (!Connected()) {
        Open();
    }
    const bool bound = params != nullptr && !params->IsEmpty();
    const std::string& text = bound ? PlaceholderText(sql) : sql;
    const auto parameterCount = static_cast<std::uint16_t>(bound ? params->Count() : 0);
    state_ = csStateExecuting;
    struct TBackToOpen {
        TConnectionState& state;
        ~TBackToOpen() { state = csStateOpen; }
    } backToOpen{state_};
    SetStatementKey(text, parameterCount);
    std::unique_ptr<ISQLCommand> prepared;
    ISQLCommand& command = CachedCommand(text, parameterCount, prepared);
    std::int64_t rows = 0;
    try {
        rows = Run(command, bound ? params : nullptr);
    } catch (...) {
        statements_.Drop(statementKey_);
        throw;
    }
    if (prepared != nullptr) {
        statements_.Put(statementKey_, std::move(prepared));
    }
    return rows;
}

// The statement kept for the current key, else one prepared anew, which prepared then owns until it
// has run and goes into the cache.
ISQLCommand& TSQLConnection::CachedCommand(const std::string& text, std::uint16_t parameterCount,
                                           std::unique_ptr<ISQLCommand>& prepared) {
    if (ISQLCommand* kept = statements_.Find(statementKey_)) {
        return *kept;
    }
    prepared = NewCommand();
    Check(prepared->prepare(text, parameterCount), prepared.get());
    return *prepared;
}

// Named markers rewritten to " ? "; a text without a colon has none and is used as it is.
const std::string& TSQLConnection::PlaceholderText(const std::string& sql) {
    if (sql.find(':') == std::string::npos) {
        return sql;
    }
    placeholderText_ =
        TParameterMarkers::ReplaceWithPlaceholders(sql, quoteChar_.empty() ? '\0' : quoteChar_[0]);
    return placeholderText_;
}

// The cache key of a statement: the parameter count, a colon and the text, in a buffer reused from
// statement to statement.
void TSQLConnection::SetStatementKey(const std::string& text, std::uint16_t parameterCount) {
    char count[8];
    const auto end = std::to_chars(count, count + sizeof count, parameterCount).ptr;
    statementKey_.assign(count, end);
    statementKey_ += ':';
    statementKey_ += text;
}

// Binds the parameters, runs the statement, closes any result unread and answers the rows affected.
std::int64_t TSQLConnection::Run(ISQLCommand& command, const TParams* params) {
    if (params != nullptr) {
        TDriverParameter::BindAll(command, *params, lastErrorText_);
    }
    std::unique_ptr<ISQLCursor> cursor;
    Check(command.execute(cursor), &command);
    if (cursor != nullptr) {
        Check(cursor->close(), cursor.get());
    }
    std::int64_t rows = 0;
    Check(command.getRowsAffected(rows), &command);
    return rows;
}

std::unique_ptr<ISQLCommand> TSQLConnection::NewCommand() {
    CheckOpenConnection();
    std::unique_ptr<ISQLCommand> command;
    Check(connection_->getSQLCommand(command), connection_.get());
    return command;
}

std::string TSQLConnection::DriverQuotedName(const std::string& name) {
    CheckOpenConnection();
    connection_->setOption(connoption::kObjectName, TextArgument(name));
    char buffer[kQuotedNameSize] = {};
    std::int32_t length = 0;
    if (connection_->getOption(connoption::kQuotedObjectName, buffer, sizeof(buffer), length) !=
        sqlstatus::kSuccess) {
        return name;
    }
    return buffer;
}

}  // namespace contado
