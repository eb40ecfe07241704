#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/variant.h"
#include "platform/dsengine/datapacket.h"
#include "platform/dsengine/dsoutoflinevalues.h"
#include "platform/dsengine/dsvalueview.h"

namespace contado {

// The fixed byte layout of a record of one table. The record starts with two state bits per column
// (unassigned, null, a value in the column's slot, a value kept out of line); then each column has
// a slot at a fixed offset, sized by its type: 4 bytes for integers, 8 for 64-bit integers, floats,
// dates and times, 9 for decimals (unscaled value and scale), 1 plus the column's size in UTF-8
// bytes for short texts. Long texts, blobs and values that do not fit their slot are kept in a
// TDSOutOfLineValues, the slot holding their index. Every value reads back exactly as written.
class TDSRecordLayout {
  public:
    enum class TSlotKind : std::uint8_t { Int32, Int64, Double, Boolean, Decimal, Text, OutOfLine };
    enum TState : std::uint8_t { kUnassigned = 0, kNull = 1, kInSlot = 2, kOutOfLine = 3 };

    // Where one column's state and slot lie in every record: what a loop over many rows that reads
    // one column needs, found once.
    struct TColumnAccess {
        std::uint32_t StateByte = 0;
        std::uint32_t StateShift = 0;
        std::uint32_t Offset = 0;
        TSlotKind Kind = TSlotKind::OutOfLine;
    };

    TDSRecordLayout() = default;
    explicit TDSRecordLayout(const std::vector<TPacketColumn>& columns);

    int ColumnCount() const { return static_cast<int>(slots_.size()); }
    std::size_t RecordSize() const { return recordSize_; }

    TVariant Read(const std::byte* record, int column, const TDSOutOfLineValues& outOfLine) const;
    // The value where it lies, in its slot or out of line; no text is copied.
    TDSValueView View(const std::byte* record, int column, const TDSOutOfLineValues& outOfLine) const;
    // The value converted to the kind (and scale) of the views of the column's slot, so that it
    // compares with them as it is; false when it does not convert exactly or the column keeps its
    // values out of line.
    bool SlotForm(int column, const TDSValueView& value, TDSValueView& converted) const;
    void Write(std::byte* record, int column, const TVariant& value, TDSOutOfLineValues& outOfLine) const;
    // Writes one value per column into a record that is still clear (every column unassigned).
    void Fill(std::byte* record, const TVariant* values, TDSOutOfLineValues& outOfLine) const;
    // Copies a record over another (whose out-of-line values are released first); the copy gets
    // out-of-line values of its own.
    void Copy(const std::byte* source, std::byte* target, TDSOutOfLineValues& outOfLine) const;
    // Gives up the record's out-of-line values and leaves every column unassigned.
    void Release(std::byte* record, TDSOutOfLineValues& outOfLine) const;

    // Reading one column of many records: where it lies, its state in a record, a value of its slot.
    TColumnAccess Access(int column) const {
        return TColumnAccess{static_cast<std::uint32_t>(column / 4),
                             static_cast<std::uint32_t>(column % 4 * 2), slots_[column].Offset,
                             slots_[column].Kind};
    }
    static TState StateAt(const std::byte* record, const TColumnAccess& access) {
        const unsigned bits = std::to_integer<unsigned>(record[access.StateByte]) >> access.StateShift;
        return static_cast<TState>(bits & 3u);
    }
    template <typename T>
    static T Load(const std::byte* data) {
        T value;
        std::memcpy(&value, data, sizeof value);
        return value;
    }

  private:
    struct TSlot {
        TSlotKind Kind = TSlotKind::OutOfLine;
        std::uint32_t Offset = 0;
        std::uint32_t TextCapacity = 0;  // bytes of a text slot
        int Scale = 0;                   // the column's scale, of a decimal slot
    };

    static TSlot SlotFor(const TPacketColumn& column);
    static std::uint32_t SlotSize(const TSlot& slot);
    static TState State(const std::byte* record, int column);
    static void SetState(std::byte* record, int column, TState state);
    bool WriteInSlot(const TSlot& slot, std::byte* data, const TVariant& value) const;
    static bool StoreDecimal(std::byte* data, const TVariant& value);
    static bool StoreText(const TSlot& slot, std::byte* data, const TVariant& value);
    TVariant ReadInSlot(const TSlot& slot, const std::byte* data) const;
    static TDSValueView ViewInSlot(const TSlot& slot, const std::byte* data);
    TState Place(const TSlot& slot, std::byte* data, const TVariant& value,
                 TDSOutOfLineValues& outOfLine) const;
    static std::uint32_t Index(const std::byte* data) { return Load<std::uint32_t>(data); }

    std::vector<TSlot> slots_;
    std::size_t recordSize_ = 0;
};

// Filters and searches read every row through these; they are inline to keep that read short.

inline TDSRecordLayout::TState TDSRecordLayout::State(const std::byte* record, int column) {
    const auto bits = std::to_integer<unsigned>(record[column / 4]) >> (column % 4 * 2);
    return static_cast<TState>(bits & 3u);
}

inline TDSValueView TDSRecordLayout::ViewInSlot(const TSlot& slot, const std::byte* data) {
    switch (slot.Kind) {
        case TSlotKind::Int32:
            return TDSValueView::Integer(Load<std::int32_t>(data));
        case TSlotKind::Int64:
            return TDSValueView::Integer(Load<std::int64_t>(data));
        case TSlotKind::Double:
            return TDSValueView::Float(Load<double>(data));
        case TSlotKind::Boolean:
            return TDSValueView::Boolean(Load<std::uint8_t>(data) != 0);
        case TSlotKind::Decimal:
            return TDSValueView::Decimal(Load<std::int64_t>(data),
                                         Load<std::uint8_t>(data + sizeof(std::int64_t)));
        case TSlotKind::Text:
            return TDSValueView::Text(
                std::string_view(reinterpret_cast<const char*>(data + 1), Load<std::uint8_t>(data)));
        case TSlotKind::OutOfLine:
            break;
    }
    return TDSValueView();
}

inline TDSValueView TDSRecordLayout::View(const std::byte* record, int column,
                                          const TDSOutOfLineValues& outOfLine) const {
    const TSlot& slot = slots_[column];
    switch (State(record, column)) {
        case kInSlot:
            return ViewInSlot(slot, record + slot.Offset);
        case kOutOfLine:
            return TDSValueView::Of(outOfLine.Get(Index(record + slot.Offset)));
        case kNull:
        case kUnassigned:
            break;
    }
    return TDSValueView();
}

}  // namespace contado
