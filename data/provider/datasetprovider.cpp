#include "data/provider/datasetprovider.h"

#include "data/dataset/dataset.h"
#include "data/dataset/providersupport.h"
#include "data/provider/datapacketwriter.h"
#include "data/provider/sqlresolver.h"

namespace contado {

namespace {

// Rows written before they go on to a part sink: few enough to keep the packet small, enough to
// keep the sink's work per row small.
constexpr std::size_t kRowsPerPart = 256;

}  // namespace

TDataSetProvider::TDataSetProvider(TComponent* owner) : TComponent(owner) {}

TDataSetProvider::~TDataSetProvider() = default;

void TDataSetProvider::SetDataSet(TDataSet* dataSet) {
    dataSet_ = dataSet;
    openedSource_ = false;
    rowsSent_ = 0;
}

void TDataSetProvider::ComponentDestroying(TComponent* component) {
    if (component == dataSet_) {
        SetDataSet(nullptr);
    }
}

IProviderSupport& TDataSetProvider::Source() const {
    auto* source = dynamic_cast<IProviderSupport*>(dataSet_);
    if (source == nullptr) {
        throw EDatabaseError("Missing DataSet property");
    }
    return *source;
}

TDataPacket TDataSetProvider::GetRecords(int count, int& recordsOut, TGetRecordOptions options,
                                         const std::string& commandText, TParams& params,
                                         const TPacketPartSink& parts) {
    recordsOut = 0;
    IProviderSupport& source = Source();
    if (options.Contains(grReset)) {
        Reset();
        if (count == 0) {
            return {};
        }
    }
    HandCommandText(commandText);
    HandParams(params);
    if (BeforeGetRecords) {
        BeforeGetRecords(this);
    }
    TDataPacket packet = ReadPacket(count, recordsOut, options.Contains(grMetaData) || count == 0, parts);
    if (AfterGetRecords) {
        AfterGetRecords(this);
    }
    params = source.PSGetParams();
    return packet;
}

void TDataSetProvider::HandCommandText(const std::string& commandText) {
    if (commandText.empty()) {
        return;
    }
    if (!options_.Contains(poAllowCommandText)) {
        throw EDatabaseError("CommandText changes are not allowed");
    }
    Source().PSSetCommandText(commandText);
}

void TDataSetProvider::HandParams(const TParams& params) {
    if (!params.IsEmpty() && !(params == Source().PSGetParams())) {
        Source().PSSetParams(params);
    }
}

// Rows from the current position; fewer rows than asked for mean the end, and the source is reset
// (closed when the provider opened it); exactly as many leave it open on the next row.
TDataPacket TDataSetProvider::ReadPacket(int count, int& recordsOut, bool withMetadata,
                                         const TPacketPartSink& parts) {
    TDataPacket packet;
    try {
        if (!dataSet_->Active()) {
            dataSet_->Open();
            openedSource_ = true;
        }
        TDataPacketWriter writer(*dataSet_, packet);
        if (withMetadata) {
            writer.WriteMetadata(options_, Source());
        }
        WriteRows(writer, packet, count, recordsOut, parts);
        rowsSent_ += recordsOut;
        if (recordsOut != count) {
            Reset();
        } else if (count > 0) {
            dataSet_->Next();
        }
    } catch (...) {
        Reset();
        throw;
    }
    return packet;
}

// Rows while the source is not at its end and fewer than count are written; after each row except
// the last requested one the source moves on. With parts, the rows of a part handed on are
// overwritten by the next part's.
void TDataSetProvider::WriteRows(TDataPacketWriter& writer, TDataPacket& packet, int count, int& recordsOut,
                                 const TPacketPartSink& parts) {
    std::size_t inPart = 0;
    while ((count < 0 || recordsOut < count) && !dataSet_->Eof()) {
        writer.WriteRowAt(inPart++);
        ++recordsOut;
        if (parts && inPart == kRowsPerPart) {
            parts(packet);
            inPart = 0;
        }
        if (recordsOut != count) {
            dataSet_->Next();
        }
    }
    packet.Rows.resize(inPart);
}

void TDataSetProvider::Reset() {
    if (openedSource_ && dataSet_ != nullptr) {
        openedSource_ = false;
        dataSet_->Close();
    }
    if (dataSet_ != nullptr) {
        Source().PSReset();
    }
    rowsSent_ = 0;
}

std::optional<TDataPacket> TDataSetProvider::ApplyUpdates(const TDataPacket& delta, int maxErrors,
                                                          int& errorCount) {
    errorCount = 0;
    CheckCanApply();
    if (BeforeApplyUpdates) {
        BeforeApplyUpdates(this);
    }
    if (!resolver_) {
        resolver_ = std::make_unique<TSQLResolver>(*this);
    }
    std::optional<TDataPacket> errors = resolver_->ApplyUpdates(delta, maxErrors, errorCount);
    if (AfterApplyUpdates) {
        AfterApplyUpdates(this);
    }
    return errors;
}

void TDataSetProvider::CheckCanApply() const {
    Source();
    if (options_.Contains(poReadOnly)) {
        throw EDatabaseError("Cannot apply updates to a ReadOnly provider");
    }
}

TParams TDataSetProvider::GetParams() {
    return Source().PSGetParams();
}

void TDataSetProvider::Execute(const std::string& commandText, TParams& params) {
    HandCommandText(commandText);
    HandParams(params);
    Source().PSExecute();
    params = Source().PSGetParams();
}

}  // namespace contado
