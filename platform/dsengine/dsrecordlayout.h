#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "platform/dsengine/datapacket.h"
#include "platform/dsengine/dsoutoflinevalues.h"

namespace contado {

// The fixed byte layout of a record of one table. The record starts with two state bits per column
// (unassigned, null, a value in the column's slot, a value kept out of line); then each column has
// a slot at a fixed offset, sized by its type: 4 bytes for integers, 8 for 64-bit integers, floats,
// dates and times, 9 for decimals (unscaled value and scale), 1 plus the column's size in UTF-8
// bytes for short texts. Long texts, blobs and values that do not fit their slot are kept in a
// TDSOutOfLineValues, the slot holding their index. Every value reads back exactly as written.
class TDSRecordLayout {
  public:
    TDSRecordLayout() = default;
    explicit TDSRecordLayout(const std::vector<TPacketColumn>& columns);

    int ColumnCount() const { return static_cast<int>(slots_.size()); }
    std::size_t RecordSize() const { return recordSize_; }

    TVariant Read(const std::byte* record, int column, const TDSOutOfLineValues& outOfLine) const;
    void Write(std::byte* record, int column, const TVariant& value, TDSOutOfLineValues& outOfLine) const;
    // Copies a record over another (whose out-of-line values are released first); the copy gets
    // out-of-line values of its own.
    void Copy(const std::byte* source, std::byte* target, TDSOutOfLineValues& outOfLine) const;
    // Gives up the record's out-of-line values and leaves every column unassigned.
    void Release(std::byte* record, TDSOutOfLineValues& outOfLine) const;

  private:
    enum class TSlotKind : std::uint8_t { Int32, Int64, Double, Boolean, Decimal, Text, OutOfLine };
    enum TState : std::uint8_t { kUnassigned = 0, kNull = 1, kInSlot = 2, kOutOfLine = 3 };

    struct TSlot {
        TSlotKind Kind = TSlotKind::OutOfLine;
        std::uint32_t Offset = 0;
        std::uint32_t TextCapacity = 0;  // bytes of a text slot
    };

    static TSlot SlotFor(const TPacketColumn& column);
    static std::uint32_t SlotSize(const TSlot& slot);
    static TState State(const std::byte* record, int column);
    static void SetState(std::byte* record, int column, TState state);
    bool WriteInSlot(const TSlot& slot, std::byte* data, const TVariant& value) const;
    static bool StoreDecimal(std::byte* data, const TVariant& value);
    static bool StoreText(const TSlot& slot, std::byte* data, const TVariant& value);
    TVariant ReadInSlot(const TSlot& slot, const std::byte* data) const;
    static std::uint32_t Index(const std::byte* data);

    std::vector<TSlot> slots_;
    std::size_t recordSize_ = 0;
};

}  // namespace contado
