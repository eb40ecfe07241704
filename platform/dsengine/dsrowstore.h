#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/dsengine/dsoutoflinevalues.h"
#include "platform/dsengine/dsrecordlayout.h"
#include "platform/dsengine/dstypes.h"

namespace contado {

// The rows of one engine table and their change states.
// Rows live in fixed-size records (TDSRecordLayout), side by side in blocks; a row
// keeps its id (its slot) for as long as it exists, so ids serve as bookmarks. The table order lists
// the ids of the rows that exist, deleted ones included until their deletion is accepted, so it can
// be undone.
class TDSRowStore {
  public:
    enum class RowState : std::uint8_t { Original, Inserted, Modified, Deleted, Gone };

    void Reset(const std::vector<TPacketColumn>& columns);
    int ColumnCount() const { return layout_.ColumnCount(); }
    int SlotCount() const { return static_cast<int>(rows_.size()); }
    bool Exists(int row) const { return row >= 0 && row < SlotCount() && rows_[row].state != RowState::Gone; }
    RowState State(int row) const { return rows_[row].state; }
    bool IsLive(int row) const { return Exists(row) && rows_[row].state != RowState::Deleted; }

    TVariant Value(int row, int column) const;
    // The value where it lies in the row's record, valid until the row changes.
    TDSValueView View(int row, int column) const { return layout_.View(Record(row), column, outOfLine_); }
    const TDSRecordLayout& Layout() const { return layout_; }
    // The row's record, as its layout reads it; valid until the row changes.
    const std::byte* RecordOf(int row) const { return Record(row); }
    // Where the records lie, for a loop over many rows that changes none: held in locals, the
    // loop reads them without going back to the store for every row.
    class TRecords {
      public:
        const std::byte* Of(int row) const {
            const auto slot = static_cast<std::size_t>(row);
            return blocks_[slot / kBlockRows] + slot % kBlockRows * size_;
        }

      private:
        friend class TDSRowStore;
        TRecords(const std::byte* const* blocks, std::size_t size) : blocks_(blocks), size_(size) {}
        const std::byte* const* blocks_;
        std::size_t size_;
    };
    TRecords Records() const { return TRecords(blocks_.data(), layout_.RecordSize()); }
    // Every value of the row into values, which must hold ColumnCount() values.
    void ReadValues(int row, TVariant* values) const;
    // The values before any change: the before-image of a modified or deleted row, else its values.
    void ReadOriginalValues(int row, TVariant* values) const;
    const std::vector<int>& Order() const { return order_; }
    // Whether every row of the order is live: no deletion waits to be applied or undone.
    bool OrderAllLive() const { return deleted_ == 0; }
    int OrderIndexOf(int row) const;

    // Rows as they arrive from packets, appended to the order.
    void AppendOriginalRows(const std::vector<TPacketRow>& rows);
    // A new row placed before the row at that order index (at the end when past it).
    int InsertRow(const TDSRecord& values, int orderIndex);
    // Writes every value that is not unassigned; answers whether anything changed.
    bool ModifyRow(int row, const TDSRecord& values);
    void DeleteRow(int row);
    // Takes the row back to its state before its change.
    void UndoChange(int row);
    // Makes the row's change part of its original state.
    void AcceptChange(int row);
    void AcceptAll();
    // Replaces the original values (a merge with the server's current values); unassigned ones stay.
    void MergeOriginalValues(int row, const TVariant* values);
    // Overwrites an unchanged row's values without logging a change; unassigned ones stay.
    void RefreshValues(int row, const TVariant* values);
    // Rows with a pending change, in the order of their first change.
    const std::vector<int>& ChangeLog() const { return log_; }

    // Grows with every change of rows or order; cursors compare it to know their index is stale.
    std::uint64_t Version() const { return version_; }
    // When the last changes were appends of rows (one, or several one after another), the version
    // before them and the order index of their first row.
    bool LastChangeWasAppend(std::uint64_t since, int& firstOrderIndex) const;

  private:
    struct RowInfo {
        RowState state = RowState::Original;
        int beforeImage = -1;  // record in beforeImages_ of a modified (or modified, then deleted) row
    };

    // Records sit in blocks of kBlockRows, allocated as rows arrive, so that they never move. The
    // blocks for the rows of one append are allocated together in one piece, so a large packet's
    // records take one allocation rather than one per block.
    static constexpr int kBlockRows = 4096;
    std::byte* Record(int row) {
        return blocks_[row / kBlockRows] + static_cast<std::size_t>(row % kBlockRows) * layout_.RecordSize();
    }
    const std::byte* Record(int row) const {
        return blocks_[row / kBlockRows] + static_cast<std::size_t>(row % kBlockRows) * layout_.RecordSize();
    }
    // Room in the blocks for that many rows more.
    void MakeRoom(std::size_t rows);
    std::byte* BeforeImage(int image) {
        return &beforeImages_[static_cast<std::size_t>(image) * layout_.RecordSize()];
    }
    const std::byte* OriginalRecord(int row) const;
    int NewSlot(RowState state);
    void SaveBeforeImage(int row);
    void DropBeforeImage(int row);
    void RemoveFromOrder(int row);
    void RemoveFromLog(int row);
    void Changed() { ++version_; }
    // Every change of a row's state goes through here, which keeps the count of deleted rows.
    void SetState(RowInfo& info, RowState state);
    void WriteAssigned(const TVariant* source, std::byte* target);

    TDSRecordLayout layout_;
    TDSOutOfLineValues outOfLine_;
    std::vector<std::unique_ptr<std::byte[]>> pieces_;
    std::vector<std::byte*> blocks_;
    std::vector<std::byte> beforeImages_;
    std::vector<RowInfo> rows_;
    std::vector<int> order_;
    std::vector<int> log_;
    int deleted_ = 0;
    std::uint64_t version_ = 0;
    std::uint64_t appendVersion_ = 0;
    std::uint64_t appendEnd_ = 0;
    int appendStart_ = -1;
};

}  // namespace contado
