#include "data/client/clientdataset.h"

#include <cctype>

#include "core/textutil.h"
#include "data/provider/datasetprovider.h"
#include "data/provider/localappserver.h"

namespace contado {

namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

TUpdateKind UpdateKindOf(TUpdateStatus status) {
    switch (status) {
        case TUpdateStatus::Inserted:
            return ukInsert;
        case TUpdateStatus::Deleted:
            return ukDelete;
        default:
            return ukModify;
    }
}

constexpr int kSkipResponse = rrSkip + 1;

}  // namespace

TClientDataSet::TClientDataSet(TComponent* owner) : TCustomClientDataSet(owner) {}

TClientDataSet::~TClientDataSet() {
    // Closing here, while this class's reset request can still run; a failing one is of no use now.
    try {
        CloseForDestruction();
    } catch (const std::exception&) {
    }
}

void TClientDataSet::SetProviderName(const std::string& name) {
    CheckInactive();
    providerName_ = name;
}

void TClientDataSet::SetCommandText(const std::string& text) {
    if (text == commandText_) {
        return;
    }
    commandText_ = text;
    if (text.empty()) {
        return;
    }
    TParams collected;
    for (const std::string& name : ParameterNames(text)) {
        if (collected.FindParam(name) == nullptr) {
            collected.Add(TParam(name, ftUnknown));
        }
    }
    collected.AssignValues(params_);
    params_ = collected;
}

std::vector<std::string> TClientDataSet::ParameterNames(const std::string& text) {
    std::vector<std::string> names;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ':' && (i == 0 || !IsNameChar(text[i - 1])) && i + 1 < text.size() &&
                   IsNameChar(text[i + 1])) {
            size_t end = i + 1;
            while (end < text.size() && IsNameChar(text[end])) {
                ++end;
            }
            names.push_back(text.substr(i + 1, end - i - 1));
            i = end - 1;
        }
    }
    return names;
}

// ---------------------------------------------------------------------------------------------
// The provider

TDataSetProvider* TClientDataSet::FindProvider() const {
    if (Owner() == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < Owner()->ComponentCount(); ++i) {
        auto* provider = dynamic_cast<TDataSetProvider*>(Owner()->Components(i));
        if (provider != nullptr && SameText(provider->Name(), providerName_)) {
            return provider;
        }
    }
    return nullptr;
}

TDataSetProvider& TClientDataSet::Provider() const {
    TDataSetProvider* provider = FindProvider();
    if (provider == nullptr) {
        DatabaseError("Missing data provider or data packet");
    }
    if (provider->DataSet() == this) {
        DatabaseError("Circular provider references not allowed");
    }
    return *provider;
}

void TClientDataSet::CheckCall(const TCallResult& result) const {
    if (result.Failed()) {
        throw EDatabaseError(result.Message);
    }
}

TDataPacket TClientDataSet::RequestRecords(int count, TGetRecordOptions options, int& received,
                                           const TPacketPartSink& parts) {
    TLocalAppServer server(Provider());
    TDataPacket packet;
    received = 0;
    CheckCall(server.AS_GetRecordsInParts(providerName_, count, received, options, commandText_, params_,
                                          parts, packet));
    return packet;
}

TDataPacket TClientDataSet::FirstPacket(bool& allRowsArrived, const TPacketPartSink& parts) {
    int received = 0;
    TDataPacket packet = RequestRecords(packetRecords_, {grMetaData}, received, parts);
    allRowsArrived = received != packetRecords_;
    return packet;
}

int TClientDataSet::FetchMore(bool all) {
    if (!all && !fetchOnDemand_) {
        return 0;
    }
    int count = all ? -1 : packetRecords_;
    int received = 0;
    // The rows go into the table in parts as the provider writes them, as at opening.
    TDataPacket packet =
        RequestRecords(count, {}, received, [this](const TDataPacket& part) { AppendPacket(part, false); });
    AppendPacket(packet, all || received != count);
    return received;
}

void TClientDataSet::CloseSource() {
    if (PacketOption("NO_RESET_CALL") || FindProvider() == nullptr) {
        return;
    }
    // The table closes whatever the provider answers: its rows and change log are dropped either way.
    try {
        int received = 0;
        RequestRecords(0, {grReset}, received);
    } catch (const EDatabaseError&) {
    }
}

// ---------------------------------------------------------------------------------------------
// Applying updates

int TClientDataSet::ApplyUpdates(int maxErrors) {
    CheckBrowseMode();
    if (ChangeCount() == 0) {
        return 0;
    }
    std::unique_ptr<IDSWriter> writer;
    Check(Engine().CreateWriter(writer));
    TDataPacket delta;
    Check(writer->GetDelta(delta));
    if (BeforeApplyUpdates) {
        BeforeApplyUpdates(this);
    }
    int errorCount = 0;
    std::optional<TDataPacket> errors;
    TLocalAppServer server(Provider());
    CheckCall(server.AS_ApplyUpdates(providerName_, delta, maxErrors, errorCount, errors));
    if (AfterApplyUpdates) {
        AfterApplyUpdates(this);
    }
    Reconcile(errors, maxErrors, errorCount);
    return errorCount;
}

// With no error packet every change was written; otherwise the engine keeps or undoes each failed
// change by the reconcile action, and keeps every change when the provider rolled its work back.
// An exception of the reconcile handler counts as abort and is raised again once the log is consistent.
void TClientDataSet::Reconcile(const std::optional<TDataPacket>& errors, int maxErrors, int errorCount) {
    if (!errors) {
        Check(Engine().AcceptChanges());
        Refresh();
        return;
    }
    bool changesStored = maxErrors == -1 || errorCount <= maxErrors;
    std::exception_ptr handlerError;
    int status = Engine().Reconcile(
        *errors, changesStored, [&](TDSReconcileInfo& info) { return ReconcileChange(info, handlerError); });
    Refresh();
    if (handlerError) {
        std::rethrow_exception(handlerError);
    }
    Check(status);
}

int TClientDataSet::ReconcileChange(TDSReconcileInfo& info, std::exception_ptr& handlerError) {
    EReconcileError error(info.Message, info.Context, info.ErrorCode, info.Category);
    DataEvent(deReconcileError, reinterpret_cast<std::intptr_t>(&info));
    TReconcileAction action = info.Response == kSkipResponse ? raSkip : raAbort;
    if (OnReconcileError) {
        try {
            OnReconcileError(this, error, UpdateKindOf(info.UpdateKind), action);
        } catch (...) {
            handlerError = handlerError ? handlerError : std::current_exception();
            action = raAbort;
        }
    }
    return action + 1;
}

}  // namespace contado
