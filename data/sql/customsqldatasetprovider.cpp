#include "data/sql/customsqldataset.h"

#include "core/textutil.h"
#include "data/sql/sqlconnection.h"

// What a provider asks of its SQL source: table name, quoting, transactions, generated statements.

namespace contado {

namespace {

bool IsWordBreak(char character) {
    return static_cast<unsigned char>(character) <= ' ';
}

// The name that follows the word "from" in a select text; empty when there is none.
std::string TableAfterFrom(const std::string& sql) {
    const std::string lower = LowerCase(sql);
    for (std::size_t found = lower.find("from"); found != std::string::npos;
         found = lower.find("from", found + 1)) {
        const std::size_t after = found + 4;
        const bool wordStarts = found == 0 || IsWordBreak(sql[found - 1]);
        if (!wordStarts || after >= sql.size() || !IsWordBreak(sql[after])) {
            continue;
        }
        const std::size_t start = sql.find_first_not_of(" \t\r\n", after);
        if (start == std::string::npos) {
            return {};
        }
        const std::size_t end = sql.find_first_of(" \t\r\n,;()", start);
        return sql.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    return {};
}

}  // namespace

std::string TCustomSQLDataSet::PSGetTableName() {
    return CommandType() == ctTable ? CommandText() : TableAfterFrom(CommandText());
}

std::string TCustomSQLDataSet::PSGetQuoteChar() {
    return SQLConnection() != nullptr ? SQLConnection()->QuoteChar() : std::string();
}

bool TCustomSQLDataSet::PSInTransaction() {
    return SQLConnection() != nullptr && SQLConnection()->InTransaction();
}

void TCustomSQLDataSet::PSStartTransaction() {
    TSQLConnection& connection = OpenConnection();
    connection.StartTransaction(connection.TransactionDesc());
}

void TCustomSQLDataSet::PSEndTransaction(bool commit) {
    TSQLConnection& connection = OpenConnection();
    if (commit) {
        connection.Commit(connection.TransactionDesc());
    } else {
        connection.Rollback(connection.TransactionDesc());
    }
}

std::int64_t TCustomSQLDataSet::PSExecuteStatement(const std::string& sql, const TParams& params) {
    return OpenConnection().Execute(sql, &params);
}

// Key information would come from the server's index definitions, which are not read.
std::string TCustomSQLDataSet::PSGetKeyFields() {
    return {};
}

void TCustomSQLDataSet::PSGetAttributes(TPacketAttributes& attributes) {
    attributes["LCID"] = std::int64_t{SQLConnection() != nullptr ? SQLConnection()->LocaleCode() : 0};
}

EUpdateError TCustomSQLDataSet::PSGetUpdateException(const Exception* error, const EUpdateError* previous) {
    const int previousCode = previous != nullptr ? previous->ErrorCode() : 0;
    if (error == nullptr) {
        return EUpdateError("SQL Error: Error mapping failed", "", 1, previousCode, nullptr);
    }
    return EUpdateError(error->Message(), "", 1, previousCode, error->Clone());
}

void TCustomSQLDataSet::PSReset() {
    if (Active()) {
        First();
    }
}

// Runs the statement for its effect: any result is closed unread.
void TCustomSQLDataSet::PSExecute() {
    CheckInactive();
    CheckStatement();
    OpenConnection();
    Prepare();
    std::unique_ptr<ISQLCursor> cursor;
    RunCommand(cursor);
    if (cursor != nullptr) {
        Check(cursor->close(), cursor.get());
    }
}

void TCustomSQLDataSet::PSSetParams(const TParams& params) {
    CheckInactive();
    if (params.Count() != params_.Count()) {
        FreeStatement();
    }
    params_ = params;
}

}  // namespace contado
