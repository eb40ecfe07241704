#pragma once

#include <exception>
#include <functional>
#include <string>

#include "data/client/customclientdataset.h"
#include "data/dataset/params.h"
#include "data/provider/appserver.h"
#include "data/provider/providertypes.h"

namespace contado {

class TDataSetProvider;

enum TReconcileAction { raSkip, raAbort, raMerge, raCorrect, raCancel, raRefresh };

// The cached client table: its rows come from a provider of the same owner, found by
// ProviderName, in packets of PacketRecords rows; its change log goes back to that provider.
class TClientDataSet : public TCustomClientDataSet {
  public:
    using TReconcileErrorEvent = std::function<void(TClientDataSet* dataSet, EReconcileError& error,
                                                    TUpdateKind updateKind, TReconcileAction& action)>;
    using TRemoteEvent = std::function<void(TClientDataSet* sender)>;

    explicit TClientDataSet(TComponent* owner = nullptr);
    ~TClientDataSet() override;

    const std::string& ProviderName() const { return providerName_; }
    void SetProviderName(const std::string& name);
    const std::string& CommandText() const { return commandText_; }
    // A new non-empty text also collects the parameters it names (":NAME") into Params, keeping the
    // values of parameters of the same name.
    void SetCommandText(const std::string& text);
    TParams& Params() { return params_; }
    // Rows per packet; -1 for all at once.
    int PacketRecords() const { return packetRecords_; }
    void SetPacketRecords(int count) { packetRecords_ = count; }
    bool FetchOnDemand() const { return fetchOnDemand_; }
    void SetFetchOnDemand(bool fetchOnDemand) { fetchOnDemand_ = fetchOnDemand; }

    // Sends the change log to the provider and reconciles it with the answer; answers the provider's
    // error count. maxErrors -1: no limit.
    int ApplyUpdates(int maxErrors);

    TReconcileErrorEvent OnReconcileError;
    TRemoteEvent BeforeApplyUpdates, AfterApplyUpdates;

  protected:
    TDataPacket FirstPacket(bool& allRowsArrived, const TPacketPartSink& parts) override;
    int FetchMore(bool all) override;
    void CloseSource() override;

  private:
    // The provider of that name among the owner's components, or null.
    TDataSetProvider* FindProvider() const;
    TDataSetProvider& Provider() const;
    TDataPacket RequestRecords(int count, TGetRecordOptions options, int& received,
                               const TPacketPartSink& parts = {});
    void CheckCall(const TCallResult& result) const;
    void Reconcile(const std::optional<TDataPacket>& errors, int maxErrors, int errorCount);
    int ReconcileChange(TDSReconcileInfo& info, std::exception_ptr& handlerError);
    static std::vector<std::string> ParameterNames(const std::string& text);

    std::string providerName_;
    std::string commandText_;
    TParams params_;
    int packetRecords_ = -1;
    bool fetchOnDemand_ = true;
};

}  // namespace contado
