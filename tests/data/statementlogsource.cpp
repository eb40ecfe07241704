#include "statementlogsource.h"

namespace contado {

void TStatementLogSource::PSStartTransaction() {
    inTransaction = true;
    transactions.push_back("start");
}

void TStatementLogSource::PSEndTransaction(bool commit) {
    inTransaction = false;
    transactions.push_back(commit ? "commit" : "rollback");
}

std::int64_t TStatementLogSource::PSExecuteStatement(const std::string& sql, const TParams&) {
    const int index = static_cast<int>(statements.size());
    statements.push_back(sql);
    auto failure = failures.find(index);
    if (failure != failures.end()) {
        throw EDatabaseError("SQL Server Error: " + failure->second);
    }
    return 1;
}

EUpdateError TStatementLogSource::PSGetUpdateException(const Exception* error, const EUpdateError* previous) {
    return EUpdateError(error != nullptr ? error->Message() : "unknown", "", 1,
                        previous != nullptr ? previous->ErrorCode() : 0,
                        error != nullptr ? error->Clone() : nullptr);
}

void TStatementLogSource::PSReset() {
    if (Active()) {
        First();
    }
}

std::vector<std::string> TStatementLogSource::StatementKinds() const {
    std::vector<std::string> kinds;
    for (const std::string& sql : statements) {
        kinds.push_back(sql.substr(0, sql.find(' ')));
    }
    return kinds;
}

}  // namespace contado
