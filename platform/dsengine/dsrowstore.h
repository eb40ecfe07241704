#pragma once

#include <cstdint>
#include <vector>

#include "platform/dsengine/dstypes.h"

namespace contado {

// The rows of one engine table and their change states.
// Values live in one contiguous array, a row's values side by side; a row keeps its id (its slot)
// for as long as it exists, so ids serve as bookmarks. The table order lists the ids of the
// rows that exist, deleted ones included until their deletion is accepted, so it can be undone.
class TDSRowStore {
  public:
    enum class RowState : std::uint8_t { Original, Inserted, Modified, Deleted, Gone };

    void Reset(int columnCount);
    int ColumnCount() const { return columnCount_; }
    int SlotCount() const { return static_cast<int>(rows_.size()); }
    bool Exists(int row) const { return row >= 0 && row < SlotCount() && rows_[row].state != RowState::Gone; }
    RowState State(int row) const { return rows_[row].state; }
    bool IsLive(int row) const { return Exists(row) && rows_[row].state != RowState::Deleted; }

    const TVariant* Values(int row) const { return &values_[Offset(row)]; }
    // The values before any change: the before-image of a modified or deleted row, else its values.
    const TVariant* OriginalValues(int row) const;
    const std::vector<int>& Order() const { return order_; }
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
    // When the last change was an append of rows, the version before it and the first order index.
    bool LastChangeWasAppend(std::uint64_t since, int& firstOrderIndex) const;

  private:
    struct RowInfo {
        RowState state = RowState::Original;
        int beforeImage = -1;  // slot in beforeImages_ of a modified (or modified, then deleted) row
    };

    size_t Offset(int row) const { return static_cast<size_t>(row) * columnCount_; }
    int NewSlot(RowState state);
    void SaveBeforeImage(int row);
    void RemoveFromOrder(int row);
    void RemoveFromLog(int row);
    void Changed() { ++version_; }
    void CopyAssigned(const TVariant* source, TVariant* target) const;

    int columnCount_ = 0;
    std::vector<TVariant> values_;
    std::vector<TVariant> beforeImages_;
    std::vector<RowInfo> rows_;
    std::vector<int> order_;
    std::vector<int> log_;
    std::uint64_t version_ = 0;
    std::uint64_t appendVersion_ = 0;
    int appendStart_ = -1;
};

}  // namespace contado
