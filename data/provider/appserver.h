#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/dataset/params.h"
#include "data/provider/providertypes.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

// The answer of an application-server call: success, or a failure with the message of the
// exception the provider raised.
struct TCallResult {
    static constexpr int kFailed = 1;
    int Code = 0;
    std::string Message;
    bool Failed() const { return Code != 0; }
};

// How a client table reaches its provider.
class IAppServer {
  public:
    virtual ~IAppServer() = default;

    virtual TCallResult AS_ApplyUpdates(const std::string& providerName, const TDataPacket& delta,
                                        int maxErrors, int& errorCount,
                                        std::optional<TDataPacket>& errors) = 0;
    virtual TCallResult AS_GetRecords(const std::string& providerName, int count, int& recordsOut,
                                      TGetRecordOptions options, const std::string& commandText,
                                      TParams& params, TDataPacket& data) = 0;
    // As AS_GetRecords, handing the rows to parts while the packet is written; data then holds the
    // rows after the last part. Servers that cannot hand rows on in parts answer them all in data.
    virtual TCallResult AS_GetRecordsInParts(const std::string& providerName, int count, int& recordsOut,
                                             TGetRecordOptions options, const std::string& commandText,
                                             TParams& params, const TPacketPartSink& parts,
                                             TDataPacket& data) {
        static_cast<void>(parts);
        return AS_GetRecords(providerName, count, recordsOut, options, commandText, params, data);
    }
    virtual TCallResult AS_DataRequest(const std::string& providerName, const TVariant& input,
                                       TVariant& output) = 0;
    virtual TCallResult AS_GetProviderNames(std::vector<std::string>& names) = 0;
    virtual TCallResult AS_GetParams(const std::string& providerName, TParams& params) = 0;
    virtual TCallResult AS_RowRequest(const std::string& providerName, const TDataPacket& row,
                                      int requestType, TDataPacket& data) = 0;
    virtual TCallResult AS_Execute(const std::string& providerName, const std::string& commandText,
                                   TParams& params) = 0;
};

}  // namespace contado
