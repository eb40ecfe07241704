#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/exceptions.h"
#include "data/provider/deltareader.h"
#include "data/provider/providertypes.h"
#include "data/provider/updatesqlgenerator.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

class IProviderSupport;
class TDataSetProvider;

// Writes a change packet to the database through the provider's source: one generated statement
// per change, inside one transaction, failures reported to the provider's update handler and
// collected into an error packet.
class TSQLResolver {
  public:
    explicit TSQLResolver(TDataSetProvider& provider) : provider_(provider) {}

    // Answers the error packet, or nothing when no failure was recorded.
    std::optional<TDataPacket> ApplyUpdates(const TDataPacket& delta, int maxErrors, int& errorCount);

  private:
    void BeginApply(const TDataPacket& delta, int maxErrors);
    void EndApply(int maxErrors);
    void WalkChanges();
    std::string TargetTable() const;
    bool ResolveChange(int row, TUpdateKind kind);
    void ApplyChange(TUpdateKind kind, const std::vector<TVariant>& oldValues,
                     const std::vector<TVariant>& newValues, bool invalidResponse);
    void CheckKindAllowed(TUpdateKind kind) const;
    void ExecuteChange(TUpdateKind kind, const std::vector<TVariant>& oldValues,
                       const std::vector<TVariant>& newValues);
    bool HandleFailure(int row, TUpdateKind kind, EUpdateError& error, TResolverResponse& response);
    void RecordError(int row, TResolverResponse response, const EUpdateError& error);

    TDataSetProvider& provider_;
    IProviderSupport* source_ = nullptr;
    std::unique_ptr<TDeltaReader> delta_;
    TUpdateSQLGenerator generator_;
    std::optional<TDataPacket> errors_;
    int errorCount_ = 0;
    int limit_ = 0;
    bool ownTransaction_ = false;
};

}  // namespace contado
