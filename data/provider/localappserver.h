#pragma once

#include <functional>

#include "data/provider/appserver.h"

namespace contado {

class TDataSetProvider;

// The application server of a provider living in the same program. Every call catches what the
// provider raises and answers it as a failure carrying the message text.
class TLocalAppServer : public IAppServer {
  public:
    explicit TLocalAppServer(TDataSetProvider& provider) : provider_(provider) {}

    TCallResult AS_ApplyUpdates(const std::string& providerName, const TDataPacket& delta, int maxErrors,
                                int& errorCount, std::optional<TDataPacket>& errors) override;
    TCallResult AS_GetRecords(const std::string& providerName, int count, int& recordsOut,
                              TGetRecordOptions options, const std::string& commandText, TParams& params,
                              TDataPacket& data) override;
    TCallResult AS_GetRecordsInParts(const std::string& providerName, int count, int& recordsOut,
                                     TGetRecordOptions options, const std::string& commandText,
                                     TParams& params, const TPacketPartSink& parts,
                                     TDataPacket& data) override;
    TCallResult AS_DataRequest(const std::string& providerName, const TVariant& input,
                               TVariant& output) override;
    TCallResult AS_GetProviderNames(std::vector<std::string>& names) override;
    TCallResult AS_GetParams(const std::string& providerName, TParams& params) override;
    TCallResult AS_RowRequest(const std::string& providerName, const TDataPacket& row, int requestType,
                              TDataPacket& data) override;
    TCallResult AS_Execute(const std::string& providerName, const std::string& commandText,
                           TParams& params) override;

  private:
    static TCallResult Guarded(const std::function<void()>& call);

    TDataSetProvider& provider_;
};

}  // namespace contado
