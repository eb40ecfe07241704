#include "platform/dsengine/dsbase.h"

#include <limits>
#include <map>

#include "platform/dsengine/dscursor.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/dswriter.h"

namespace contado {

namespace {

int AsInteger(const TVariant& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return static_cast<int>(*number);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        return static_cast<int>(*number);
    }
    if (const auto* number = std::get_if<TBcd>(&value)) {
        return static_cast<int>(number->ToDouble());
    }
    return 0;
}

std::string AsText(const TVariant& value) {
    const auto* text = std::get_if<std::string>(&value);
    return text == nullptr ? std::string() : *text;
}

bool IsTrue(const TVariant& value) {
    const auto* flag = std::get_if<bool>(&value);
    return flag != nullptr ? *flag : AsInteger(value) != 0;
}

constexpr int kAbortResponse = 2;  // rrAbort plus one

}  // namespace

std::unique_ptr<IDSBase> CreateDSBase() {
    return std::make_unique<TDSBase>();
}

int TDSBase::CreateTable(const TDataPacket& packet) {
    if (packet.Columns.empty()) {
        return dsstatus::kNoTable;
    }
    columns_ = packet.Columns;
    attributes_ = packet.Attributes;
    store_.Reset(columns_);
    created_ = true;
    return dsstatus::kOk;
}

int TDSBase::AppendData(const TDataPacket& packet, bool allRowsArrived) {
    if (!created_) {
        if (int status = CreateTable(packet); status != dsstatus::kOk) {
            return status;
        }
    }
    for (const TPacketRow& row : packet.Rows) {
        if (row.Values.size() != columns_.size()) {
            return dsstatus::kRowShapeMismatch;
        }
    }
    store_.AppendOriginalRows(packet.Rows);
    allRowsArrived_ = allRowsArrived;
    return dsstatus::kOk;
}

TVariant TDSBase::Attribute(const std::string& name) const {
    auto found = attributes_.find(name);
    return found == attributes_.end() ? TVariant() : found->second;
}

bool TDSBase::IsReadOnly() const {
    return IsTrue(Attribute("READONLY"));
}

int TDSBase::CreateCursor(std::unique_ptr<IDSCursor>& cursor) {
    if (!created_) {
        return dsstatus::kNoTable;
    }
    cursor = std::make_unique<TDSCursor>(*this);
    return dsstatus::kOk;
}

int TDSBase::CreateWriter(std::unique_ptr<IDSWriter>& writer) {
    if (!created_) {
        return dsstatus::kNoTable;
    }
    writer = std::make_unique<TDSWriter>(*this);
    return dsstatus::kOk;
}

int TDSBase::GetChangeCount(int& count) {
    count = static_cast<int>(store_.ChangeLog().size());
    return dsstatus::kOk;
}

int TDSBase::AcceptChanges() {
    store_.AcceptAll();
    return dsstatus::kOk;
}

int TDSBase::CancelChanges() {
    std::vector<int> log = store_.ChangeLog();
    for (int row : log) {
        store_.UndoChange(row);
    }
    return dsstatus::kOk;
}

std::vector<TDSBase::DeltaEntry> TDSBase::DeltaEntries() const {
    std::vector<DeltaEntry> entries;
    int recordNo = 0;
    for (int row : store_.ChangeLog()) {
        int records = store_.State(row) == TDSRowStore::RowState::Modified ? 2 : 1;
        entries.push_back(DeltaEntry{row, recordNo + 1, recordNo + records});
        recordNo += records;
    }
    return entries;
}

TDSReconcileInfo TDSBase::ReconcileInfo(int row, const TPacketRow& error) const {
    TDSReconcileInfo info;
    const auto& values = error.Values;
    info.ErrorRecordNo = AsInteger(values[errorcolumn::kRecordNo]);
    info.Response = AsInteger(values[errorcolumn::kResponse]);
    info.Message = AsText(values[errorcolumn::kMessage]);
    info.Context = AsText(values[errorcolumn::kContext]);
    info.Category = AsInteger(values[errorcolumn::kCategory]);
    info.ErrorCode = AsInteger(values[errorcolumn::kErrorCode]);

    size_t columns = columns_.size();
    info.OldValues.assign(columns, TVariant());
    info.NewValues.assign(columns, TVariant());
    info.CurrentValues.assign(columns, TVariant());
    for (size_t column = 0; column < columns && errorcolumn::kCount + column < values.size(); ++column) {
        info.CurrentValues[column] = values[errorcolumn::kCount + column];
    }
    TDSRecord current(columns);
    TDSRecord original(columns);
    store_.ReadValues(row, current.data());
    store_.ReadOriginalValues(row, original.data());
    switch (store_.State(row)) {
        case TDSRowStore::RowState::Inserted:
            info.UpdateKind = TUpdateStatus::Inserted;
            info.NewValues = std::move(current);
            break;
        case TDSRowStore::RowState::Deleted:
            info.UpdateKind = TUpdateStatus::Deleted;
            info.OldValues = std::move(original);
            break;
        default:
            info.UpdateKind = TUpdateStatus::Modified;
            info.OldValues = original;
            for (size_t column = 0; column < columns; ++column) {
                if (!(current[column] == original[column])) {
                    info.NewValues[column] = current[column];
                }
            }
            break;
    }
    return info;
}

int TDSBase::CarryOut(int action, int row, const TDSReconcileInfo& info) {
    bool inserted = info.UpdateKind == TUpdateStatus::Inserted;
    switch (action) {
        case dsreconcile::kSkip:
        case dsreconcile::kAbort:
            return dsstatus::kOk;
        case dsreconcile::kMerge:
            if (!inserted) {
                store_.MergeOriginalValues(row, info.CurrentValues.data());
            }
            return dsstatus::kOk;
        case dsreconcile::kCorrect:
            if (info.UpdateKind != TUpdateStatus::Deleted) {
                store_.ModifyRow(row, info.NewValues);
            }
            return dsstatus::kOk;
        case dsreconcile::kCancel:
            store_.UndoChange(row);
            return dsstatus::kOk;
        case dsreconcile::kRefresh:
            store_.UndoChange(row);
            if (!inserted) {
                store_.RefreshValues(row, info.CurrentValues.data());
            }
            return dsstatus::kOk;
        default:
            return dsstatus::kInvalidAction;
    }
}

int TDSBase::Reconcile(const TDataPacket& errorPacket, bool changesStored,
                       const TDSReconcileCallback& callback) {
    std::map<int, const TPacketRow*> errors;
    int stopRecordNo = std::numeric_limits<int>::max();
    for (const TPacketRow& error : errorPacket.Rows) {
        if (error.Values.size() < errorcolumn::kCount) {
            return dsstatus::kInvalidErrorPacket;
        }
        int recordNo = AsInteger(error.Values[errorcolumn::kRecordNo]);
        errors[recordNo] = &error;
        if (AsInteger(error.Values[errorcolumn::kResponse]) == kAbortResponse) {
            stopRecordNo = std::min(stopRecordNo, recordNo);
        }
    }
    int status = dsstatus::kOk;
    bool aborted = false;
    for (const DeltaEntry& entry : DeltaEntries()) {
        auto error = errors.find(entry.lastRecordNo);
        if (error == errors.end()) {
            error = errors.find(entry.firstRecordNo);
        }
        if (error == errors.end()) {
            if (changesStored && entry.lastRecordNo < stopRecordNo) {
                store_.AcceptChange(entry.row);
            }
            continue;
        }
        if (aborted) {
            continue;
        }
        TDSReconcileInfo info = ReconcileInfo(entry.row, *error->second);
        int action = callback ? callback(info) : dsreconcile::kSkip;
        aborted = action == dsreconcile::kAbort;
        if (int result = CarryOut(action, entry.row, info); result != dsstatus::kOk) {
            status = result;
        }
    }
    return status;
}

std::string TDSBase::ErrorText(int status) const {
    return DSErrorText(status);
}

}  // namespace contado
