#pragma once

#include <map>
#include <string>
#include <vector>

#include "data/providersupport.h"
#include "memorydataset.h"

namespace contado {

// A provider source over rows in memory that writes down the transactions and statements a provider
// runs on it, answering each statement with one changed row or, for chosen statements, a server error.
class TStatementLogSource : public TMemoryDataSet, public IProviderSupport {
  public:
    using TMemoryDataSet::TMemoryDataSet;

    std::string PSGetTableName() override { return "AJUSTE_CIERRE"; }
    std::string PSGetQuoteChar() override { return "\""; }
    bool PSInTransaction() override { return inTransaction; }
    void PSStartTransaction() override;
    void PSEndTransaction(bool commit) override;
    std::int64_t PSExecuteStatement(const std::string& sql, const TParams& params) override;
    std::string PSGetKeyFields() override { return {}; }
    void PSGetAttributes(TPacketAttributes&) override {}
    EUpdateError PSGetUpdateException(const Exception* error, const EUpdateError* previous) override;
    void PSReset() override;
    void PSExecute() override {}
    void PSSetCommandText(const std::string&) override {}
    TParams PSGetParams() override { return {}; }
    void PSSetParams(const TParams&) override {}

    // The first word of every statement ("insert", "update", "delete").
    std::vector<std::string> StatementKinds() const;

    bool inTransaction = false;
    std::vector<std::string> transactions;  // "start", "commit", "rollback"
    std::vector<std::string> statements;
    std::map<int, std::string> failures;  // statement index -> server message
};

}  // namespace contado
