#include "platform/dsengine/dswriter.h"

#include "platform/dsengine/dsbase.h"
#include "platform/dsengine/dsstatus.h"

namespace contado {

void TDSWriter::WriteHeader(TDataPacket& packet) const {
    packet = TDataPacket();
    packet.Columns = base_.Columns();
    packet.Attributes = base_.Attributes();
}

TPacketRow TDSWriter::Row(TUpdateStatus status, std::vector<TVariant> values) const {
    return TPacketRow{status, std::move(values)};
}

void TDSWriter::WriteChange(int row, TDataPacket& delta) const {
    const TDSRowStore& store = base_.Store();
    std::vector<TVariant> current(store.ColumnCount());
    std::vector<TVariant> original(store.ColumnCount());
    store.ReadValues(row, current.data());
    store.ReadOriginalValues(row, original.data());
    switch (store.State(row)) {
        case TDSRowStore::RowState::Inserted:
            delta.Rows.push_back(Row(TUpdateStatus::Inserted, std::move(current)));
            break;
        case TDSRowStore::RowState::Deleted:
            delta.Rows.push_back(Row(TUpdateStatus::Deleted, std::move(original)));
            break;
        case TDSRowStore::RowState::Modified: {
            delta.Rows.push_back(Row(TUpdateStatus::Unmodified, original));
            TPacketRow modified{TUpdateStatus::Modified, std::vector<TVariant>(store.ColumnCount())};
            for (int column = 0; column < store.ColumnCount(); ++column) {
                if (!(current[column] == original[column])) {
                    modified.Values[column] = current[column];
                }
            }
            delta.Rows.push_back(std::move(modified));
            break;
        }
        default:
            break;
    }
}

int TDSWriter::GetDelta(TDataPacket& delta) {
    if (!base_.HasTable()) {
        return dsstatus::kNoTable;
    }
    WriteHeader(delta);
    for (int row : base_.Store().ChangeLog()) {
        WriteChange(row, delta);
    }
    return dsstatus::kOk;
}

int TDSWriter::CreateErrorPacket(const TDataPacket& delta, TDataPacket& errors) {
    errors = MakeErrorPacket(delta);
    return dsstatus::kOk;
}

}  // namespace contado
