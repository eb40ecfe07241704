#pragma once

#include "platform/dsengine/dsrowstore.h"
#include "platform/dsengine/idsbase.h"

namespace contado {

// The engine table: columns and attributes of the first packet, the rows, and their change log.
class TDSBase : public IDSBase {
  public:
    int AppendData(const TDataPacket& packet, bool allRowsArrived) override;
    bool AllRowsArrived() const override { return allRowsArrived_; }
    const std::vector<TPacketColumn>& Columns() const override { return columns_; }
    TVariant Attribute(const std::string& name) const override;

    int CreateCursor(std::unique_ptr<IDSCursor>& cursor) override;
    int CreateWriter(std::unique_ptr<IDSWriter>& writer) override;

    int GetChangeCount(int& count) override;
    int AcceptChanges() override;
    int CancelChanges() override;
    int Reconcile(const TDataPacket& errorPacket, bool changesStored,
                  const TDSReconcileCallback& callback) override;

    std::string ErrorText(int status) const override;

    bool HasTable() const { return created_; }
    bool IsReadOnly() const;
    const TPacketAttributes& Attributes() const { return attributes_; }
    TDSRowStore& Store() { return store_; }
    const TDSRowStore& Store() const { return store_; }

  private:
    // A change of the log with its record numbers in the change packet, from 1.
    struct DeltaEntry {
        int row = 0;
        int firstRecordNo = 0;
        int lastRecordNo = 0;
    };

    int CreateTable(const TDataPacket& packet);
    std::vector<DeltaEntry> DeltaEntries() const;
    TDSReconcileInfo ReconcileInfo(int row, const TPacketRow& error) const;
    int CarryOut(int action, int row, const TDSReconcileInfo& info);

    bool created_ = false;
    bool allRowsArrived_ = false;
    std::vector<TPacketColumn> columns_;
    TPacketAttributes attributes_;
    TDSRowStore store_;
};

}  // namespace contado
