#include "platform/fbdriver/fbconnection.h"

#include "platform/fbdriver/fbanswerwatch.h"
#include "platform/fbdriver/fbcommand.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbembeddedroot.h"
#include "platform/fbdriver/fbguardedcall.h"
#include "platform/fbdriver/fbmetadata.h"
#include "platform/fbdriver/fboptionbuffer.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

namespace {

constexpr int kMinDialect = 1;
constexpr int kMaxDialect = 3;
constexpr std::intptr_t kLongestWaitSeconds = 86400;

SQLResult SetSeconds(int& option, std::intptr_t value) {
    if (value < 0 || value > kLongestWaitSeconds) {
        return sqlstatus::kInvalidParameter;
    }
    option = static_cast<int>(value);
    return sqlstatus::kSuccess;
}

std::string QuotedPart(const std::string& part) {
    std::string quoted = "\"";
    for (char character : part) {
        quoted += character;
        if (character == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

}  // namespace

TFbConnection::TFbConnection(TFbClient& client) : session_(std::make_shared<TFbSession>(client)) {}

TFbConnection::~TFbConnection() {
    TFbAnswerWatch watch(*session_);
    watch.BeginIfPossible();
    try {
        session_->Detach();
    } catch (...) {
        // Released without disconnect: nobody is left to tell.
    }
}

SQLResult TFbConnection::setOption(int option, std::intptr_t value) {
    TFbConnectionOptions& options = session_->Options();
    switch (option) {
        case connoption::kBlobSize:
            options.BlobSize = static_cast<int>(value);
            return sqlstatus::kSuccess;
        case connoption::kRoleName:
            options.RoleName = OptionText(value);
            return sqlstatus::kSuccess;
        case connoption::kWaitOnLocks:
            options.WaitOnLocks = value != 0;
            return sqlstatus::kSuccess;
        case connoption::kCommitRetain:
            options.CommitRetain = value != 0;
            return sqlstatus::kSuccess;
        case connoption::kTransactionIsolation:
            if (value < 0 || value > 2) {
                return 15;  // invalid transaction isolation level
            }
            options.IsolationLevel = static_cast<std::uint32_t>(value);
            return sqlstatus::kSuccess;
        case connoption::kHostName:
            options.HostName = OptionText(value);
            return sqlstatus::kSuccess;
        case connoption::kServerCharSet:
            options.ServerCharSet = OptionText(value);
            return sqlstatus::kSuccess;
        case connoption::kSQLDialect:
            if (value < kMinDialect || value > kMaxDialect) {
                return sqlstatus::kInvalidParameter;
            }
            options.SQLDialect = static_cast<int>(value);
            return sqlstatus::kSuccess;
        case connoption::kTrimChar:
            options.TrimChar = value != 0;
            return sqlstatus::kSuccess;
        case connoption::kObjectName:
            options.ObjectName = OptionText(value);
            return sqlstatus::kSuccess;
        case connoption::kConnectionTimeout:
            return SetSeconds(options.ConnectTimeout, value);
        case connoption::kLockTimeout:
            return SetSeconds(options.LockTimeout, value);
        case connoption::kAnswerTimeout:
            return SetSeconds(options.AnswerTimeout, value);
        default:
            return sqlstatus::kNotSupported;
    }
}

SQLResult TFbConnection::getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) {
    const TFbConnectionOptions& options = session_->Options();
    switch (option) {
        case connoption::kBlobSize:
            return WriteOptionNumber(buffer, size, length, options.BlobSize);
        case connoption::kRoleName:
            return WriteOptionText(buffer, size, length, options.RoleName);
        case connoption::kWaitOnLocks:
            return WriteOptionNumber(buffer, size, length, options.WaitOnLocks ? 1 : 0);
        case connoption::kCommitRetain:
            return WriteOptionNumber(buffer, size, length, options.CommitRetain ? 1 : 0);
        case connoption::kTransactionIsolation:
            return WriteOptionNumber(buffer, size, length, static_cast<std::int32_t>(options.IsolationLevel));
        case connoption::kHostName:
            return WriteOptionText(buffer, size, length, options.HostName);
        case connoption::kMaxStatementsPerConnection:
            return WriteOptionNumber(buffer, size, length, 0);  // no limit
        case connoption::kServerCharSet:
            return WriteOptionText(buffer, size, length, options.ServerCharSet);
        case connoption::kSQLDialect:
            return WriteOptionNumber(buffer, size, length, options.SQLDialect);
        case connoption::kTrimChar:
            return WriteOptionNumber(buffer, size, length, options.TrimChar ? 1 : 0);
        case connoption::kQuotedObjectName:
            return WriteOptionText(buffer, size, length, QuotedObjectName());
        case connoption::kConnectionTimeout:
            return WriteOptionNumber(buffer, size, length, options.ConnectTimeout);
        case connoption::kLockTimeout:
            return WriteOptionNumber(buffer, size, length, options.LockTimeout);
        case connoption::kAnswerTimeout:
            return WriteOptionNumber(buffer, size, length, options.AnswerTimeout);
        default:
            return sqlstatus::kNotSupported;
    }
}

// Dialect 3 quotes every part of an owner-qualified name; a name that carries quotes already, and
// every name in the older dialects, stays as it is.
std::string TFbConnection::QuotedObjectName() const {
    const TFbConnectionOptions& options = session_->Options();
    const std::string& name = options.ObjectName;
    if (options.SQLDialect < kMaxDialect || name.empty() || name.front() == '"') {
        return name;
    }
    std::string quoted;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = name.find('.', start);
        quoted += QuotedPart(name.substr(start, dot == std::string::npos ? dot : dot - start));
        if (dot == std::string::npos) {
            return quoted;
        }
        quoted += '.';
        start = dot + 1;
    }
}

SQLResult TFbConnection::connect(const std::string& database, const std::string& user,
                                 const std::string& password) {
    return GuardedCall(*session_, errorText_, [&] {
        if (IsEmbedded(database) && !TFbEmbeddedRoot::EmbeddedProblem().empty()) {
            throw EFbDriverError(sqlstatus::kConnectionFailed, TFbEmbeddedRoot::EmbeddedProblem());
        }
        session_->Attach(database, user, password);
    });
}

// A plain path opens the file in this process; "host:path", "host/port:path" and "inet://..." go to
// a server.
bool TFbConnection::IsEmbedded(const std::string& database) {
    return database.empty() || database.front() == '/' || database.find(':') == std::string::npos;
}

SQLResult TFbConnection::disconnect() {
    return GuardedCall(*session_, errorText_, [&] { session_->Detach(); });
}

SQLResult TFbConnection::getSQLMetaData(std::unique_ptr<ISQLMetaData>& metaData) {
    metaData = std::make_unique<TFbMetaData>(session_);
    return sqlstatus::kSuccess;
}

SQLResult TFbConnection::getSQLCommand(std::unique_ptr<ISQLCommand>& command) {
    return GuardedCall(*session_, errorText_, [&] {
        session_->Attachment();  // fails when not connected
        command = std::make_unique<TFbCommand>(session_);
    });
}

SQLResult TFbConnection::beginTransaction(const TTransactionDesc& desc) {
    return GuardedCall(*session_, errorText_,
                       [&] { session_->BeginExplicitTransaction(desc.IsolationLevel); });
}

SQLResult TFbConnection::commit(const TTransactionDesc& /*desc*/) {
    return GuardedCall(*session_, errorText_, [&] { session_->CommitExplicitTransaction(); });
}

SQLResult TFbConnection::rollback(const TTransactionDesc& /*desc*/) {
    return GuardedCall(*session_, errorText_, [&] { session_->RollbackExplicitTransaction(); });
}

SQLResult TFbConnection::getErrorMessage(std::string& message) {
    message = errorText_;
    return sqlstatus::kSuccess;
}

}  // namespace contado
