#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/component.h"
#include "core/exceptions.h"
#include "data/dataset/params.h"
#include "data/provider/deltareader.h"
#include "data/provider/providertypes.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

class IProviderSupport;
class TDataSet;
class TDataPacketWriter;
class TSQLResolver;

// The bridge between a client table and a source dataset: reads the source's rows into data
// packets, a number of rows at a time, and writes a client's change packet back through generated
// statements.
class TDataSetProvider : public TComponent {
  public:
    using TNotifyEvent = std::function<void(TDataSetProvider* sender)>;
    using TUpdateErrorEvent =
        std::function<void(TDataSetProvider* sender, TDeltaReader& delta, EUpdateError& error,
                           TUpdateKind kind, TResolverResponse& response)>;
    using TBeforeUpdateRecordEvent =
        std::function<void(TDataSetProvider* sender, TDeltaReader& delta, TUpdateKind kind, bool& applied)>;
    using TAfterUpdateRecordEvent =
        std::function<void(TDataSetProvider* sender, TDeltaReader& delta, TUpdateKind kind)>;
    using TGetTableNameEvent = std::function<void(TDataSetProvider* sender, std::string& tableName)>;

    explicit TDataSetProvider(TComponent* owner = nullptr);
    ~TDataSetProvider() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    TProviderOptions Options() const { return options_; }
    void SetOptions(TProviderOptions options) { options_ = options; }
    TUpdateMode UpdateMode() const { return updateMode_; }
    void SetUpdateMode(TUpdateMode mode) { updateMode_ = mode; }
    bool ResolveToDataSet() const { return resolveToDataSet_; }
    void SetResolveToDataSet(bool value) { resolveToDataSet_ = value; }

    // Up to count rows (-1: all) from the source's current position; recordsOut answers how many.
    // The parameters go in with the client's values and come back with the source's. With parts,
    // rows go to it while they are written and the packet answered holds the rows after the last part.
    TDataPacket GetRecords(int count, int& recordsOut, TGetRecordOptions options,
                           const std::string& commandText, TParams& params,
                           const TPacketPartSink& parts = {});
    // Answers the error packet, or nothing when every change was written.
    std::optional<TDataPacket> ApplyUpdates(const TDataPacket& delta, int maxErrors, int& errorCount);
    TParams GetParams();
    // Runs the source's statement without reading rows.
    void Execute(const std::string& commandText, TParams& params);
    // The source's provider services; "Missing DataSet property" without a source.
    IProviderSupport& Source() const;

    TUpdateErrorEvent OnUpdateError;
    TBeforeUpdateRecordEvent BeforeUpdateRecord;
    TAfterUpdateRecordEvent AfterUpdateRecord;
    TNotifyEvent BeforeGetRecords, AfterGetRecords, BeforeApplyUpdates, AfterApplyUpdates;
    TGetTableNameEvent OnGetTableName;

  protected:
    void ComponentDestroying(TComponent* component) override;

  private:
    void Reset();
    void HandCommandText(const std::string& commandText);
    void HandParams(const TParams& params);
    TDataPacket ReadPacket(int count, int& recordsOut, bool withMetadata, const TPacketPartSink& parts);
    void WriteRows(TDataPacketWriter& writer, TDataPacket& packet, int count, int& recordsOut,
                   const TPacketPartSink& parts);
    void CheckCanApply() const;

    TDataSet* dataSet_ = nullptr;
    TProviderOptions options_;
    TUpdateMode updateMode_ = upWhereAll;
    bool resolveToDataSet_ = false;
    bool openedSource_ = false;
    int rowsSent_ = 0;
    std::unique_ptr<TSQLResolver> resolver_;
};

}  // namespace contado
