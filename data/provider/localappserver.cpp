#include "data/provider/localappserver.h"

#include "core/exceptions.h"
#include "data/provider/datasetprovider.h"

namespace contado {

TCallResult TLocalAppServer::Guarded(const std::function<void()>& call) {
    TCallResult result;
    try {
        call();
    } catch (const std::exception& error) {
        result.Code = TCallResult::kFailed;
        result.Message = error.what();
    }
    return result;
}

TCallResult TLocalAppServer::AS_ApplyUpdates(const std::string&, const TDataPacket& delta, int maxErrors,
                                             int& errorCount, std::optional<TDataPacket>& errors) {
    return Guarded([&] { errors = provider_.ApplyUpdates(delta, maxErrors, errorCount); });
}

TCallResult TLocalAppServer::AS_GetRecords(const std::string&, int count, int& recordsOut,
                                           TGetRecordOptions options, const std::string& commandText,
                                           TParams& params, TDataPacket& data) {
    return Guarded([&] { data = provider_.GetRecords(count, recordsOut, options, commandText, params); });
}

TCallResult TLocalAppServer::AS_GetRecordsInParts(const std::string&, int count, int& recordsOut,
                                                  TGetRecordOptions options, const std::string& commandText,
                                                  TParams& params, const TPacketPartSink& parts,
                                                  TDataPacket& data) {
    return Guarded(
        [&] { data = provider_.GetRecords(count, recordsOut, options, commandText, params, parts); });
}

// Providers here answer no custom requests: the input comes back unchanged.
TCallResult TLocalAppServer::AS_DataRequest(const std::string&, const TVariant& input, TVariant& output) {
    return Guarded([&] { output = input; });
}

TCallResult TLocalAppServer::AS_GetProviderNames(std::vector<std::string>& names) {
    return Guarded([&] { names = {provider_.Name()}; });
}

TCallResult TLocalAppServer::AS_GetParams(const std::string&, TParams& params) {
    return Guarded([&] { params = provider_.GetParams(); });
}

// Rows are never fetched one by one here (no blobs or details on demand): an empty answer.
TCallResult TLocalAppServer::AS_RowRequest(const std::string&, const TDataPacket&, int, TDataPacket& data) {
    return Guarded([&] { data = TDataPacket(); });
}

TCallResult TLocalAppServer::AS_Execute(const std::string&, const std::string& commandText, TParams& params) {
    return Guarded([&] { provider_.Execute(commandText, params); });
}

}  // namespace contado
