#include "platform/dsengine/dsrecordlayout.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace contado {

namespace {

// Short texts live in the record up to this many bytes; longer columns keep their texts out of line.
constexpr std::uint32_t kMaxInlineText = 64;
constexpr std::uint32_t kUtf8BytesPerCharacter = 4;
constexpr std::uint32_t kDecimalSize = sizeof(std::int64_t) + 1;

template <typename T>
void Store(std::byte* data, T value) {
    std::memcpy(data, &value, sizeof value);
}

// Stores the value when it holds a T.
template <typename T>
bool StoreAs(std::byte* data, const TVariant& value) {
    const auto* held = std::get_if<T>(&value);
    if (held != nullptr) {
        Store(data, *held);
    }
    return held != nullptr;
}

bool FitsInt64(TBcd::Unscaled value) {
    return value >= std::numeric_limits<std::int64_t>::min() &&
           value <= std::numeric_limits<std::int64_t>::max();
}

}  // namespace

TDSRecordLayout::TDSRecordLayout(const std::vector<TPacketColumn>& columns) {
    std::uint32_t offset = static_cast<std::uint32_t>((columns.size() * 2 + 7) / 8);
    for (const TPacketColumn& column : columns) {
        TSlot slot = SlotFor(column);
        slot.Offset = offset;
        offset += SlotSize(slot);
        slots_.push_back(slot);
    }
    recordSize_ = offset;
}

TDSRecordLayout::TSlot TDSRecordLayout::SlotFor(const TPacketColumn& column) {
    switch (column.Type) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
            return TSlot{TSlotKind::Int32};
        case ftLargeint:
            return TSlot{TSlotKind::Int64};
        case ftFloat:
        case ftCurrency:
        case ftDate:
        case ftTime:
        case ftDateTime:
        case ftTimeStamp:
            return TSlot{TSlotKind::Double};
        case ftBoolean:
            return TSlot{TSlotKind::Boolean};
        case ftBCD:
        case ftFMTBcd:
            return TSlot{TSlotKind::Decimal, 0, 0, column.Size};
        case ftString:
        case ftFixedChar:
        case ftWideString:
        case ftGuid: {
            if (column.Size > 0 &&
                static_cast<std::uint32_t>(column.Size) <= kMaxInlineText / kUtf8BytesPerCharacter) {
                return TSlot{TSlotKind::Text, 0,
                             static_cast<std::uint32_t>(column.Size) * kUtf8BytesPerCharacter};
            }
            return TSlot{TSlotKind::OutOfLine};
        }
        default:
            return TSlot{TSlotKind::OutOfLine};
    }
}

// Every slot can hold an out-of-line index instead of its value.
std::uint32_t TDSRecordLayout::SlotSize(const TSlot& slot) {
    std::uint32_t size = sizeof(std::uint32_t);
    switch (slot.Kind) {
        case TSlotKind::Int64:
        case TSlotKind::Double:
            size = sizeof(std::int64_t);
            break;
        case TSlotKind::Decimal:
            size = kDecimalSize;
            break;
        case TSlotKind::Text:
            size = 1 + slot.TextCapacity;
            break;
        case TSlotKind::Int32:
        case TSlotKind::Boolean:
        case TSlotKind::OutOfLine:
            break;
    }
    return size < sizeof(std::uint32_t) ? static_cast<std::uint32_t>(sizeof(std::uint32_t)) : size;
}

void TDSRecordLayout::SetState(std::byte* record, int column, TState state) {
    const unsigned shift = column % 4 * 2;
    const unsigned bits = std::to_integer<unsigned>(record[column / 4]);
    record[column / 4] = static_cast<std::byte>((bits & ~(3u << shift)) | (unsigned{state} << shift));
}

// Writes the value into the slot when it fits there; false, with nothing written, when it does not.
// Inline, with Place below: a large load writes every value of every row through them.
inline bool TDSRecordLayout::WriteInSlot(const TSlot& slot, std::byte* data, const TVariant& value) const {
    switch (slot.Kind) {
        case TSlotKind::Int32: {
            const auto* integer = std::get_if<std::int64_t>(&value);
            if (integer == nullptr || *integer < std::numeric_limits<std::int32_t>::min() ||
                *integer > std::numeric_limits<std::int32_t>::max()) {
                return false;
            }
            Store(data, static_cast<std::int32_t>(*integer));
            return true;
        }
        case TSlotKind::Int64:
            return StoreAs<std::int64_t>(data, value);
        case TSlotKind::Double:
            return StoreAs<double>(data, value);
        case TSlotKind::Boolean: {
            const auto* flag = std::get_if<bool>(&value);
            if (flag != nullptr) {
                Store(data, static_cast<std::uint8_t>(*flag));
            }
            return flag != nullptr;
        }
        case TSlotKind::Decimal:
            return StoreDecimal(data, value);
        case TSlotKind::Text:
            return StoreText(slot, data, value);
        case TSlotKind::OutOfLine:
            break;
    }
    return false;
}

bool TDSRecordLayout::StoreDecimal(std::byte* data, const TVariant& value) {
    const auto* decimal = std::get_if<TBcd>(&value);
    if (decimal == nullptr || !FitsInt64(decimal->UnscaledValue())) {
        return false;
    }
    Store(data, static_cast<std::int64_t>(decimal->UnscaledValue()));
    Store(data + sizeof(std::int64_t), static_cast<std::uint8_t>(decimal->Scale()));
    return true;
}

bool TDSRecordLayout::StoreText(const TSlot& slot, std::byte* data, const TVariant& value) {
    const auto* text = std::get_if<std::string>(&value);
    if (text == nullptr || text->size() > slot.TextCapacity) {
        return false;
    }
    Store(data, static_cast<std::uint8_t>(text->size()));
    std::memcpy(data + 1, text->data(), text->size());
    return true;
}

TVariant TDSRecordLayout::ReadInSlot(const TSlot& slot, const std::byte* data) const {
    switch (slot.Kind) {
        case TSlotKind::Int32:
            return std::int64_t{Load<std::int32_t>(data)};
        case TSlotKind::Int64:
            return Load<std::int64_t>(data);
        case TSlotKind::Double:
            return Load<double>(data);
        case TSlotKind::Boolean:
            return Load<std::uint8_t>(data) != 0;
        case TSlotKind::Decimal:
            return TBcd::FromUnscaled(Load<std::int64_t>(data),
                                      Load<std::uint8_t>(data + sizeof(std::int64_t)));
        case TSlotKind::Text:
            return std::string(reinterpret_cast<const char*>(data + 1), Load<std::uint8_t>(data));
        case TSlotKind::OutOfLine:
            break;
    }
    return TVariant();
}

bool TDSRecordLayout::SlotForm(int column, const TDSValueView& value, TDSValueView& converted) const {
    const TSlot& slot = slots_[column];
    switch (slot.Kind) {
        case TSlotKind::Int32:
        case TSlotKind::Int64:
            return value.ConvertTo(TDSValueView::TKind::Integer, 0, converted);
        case TSlotKind::Double:
            return value.ConvertTo(TDSValueView::TKind::Float, 0, converted);
        case TSlotKind::Boolean:
            return value.ConvertTo(TDSValueView::TKind::Boolean, 0, converted);
        case TSlotKind::Decimal:
            return value.ConvertTo(TDSValueView::TKind::Decimal, slot.Scale, converted);
        case TSlotKind::Text:
        case TSlotKind::OutOfLine:
            break;
    }
    return false;
}

TVariant TDSRecordLayout::Read(const std::byte* record, int column,
                               const TDSOutOfLineValues& outOfLine) const {
    const TSlot& slot = slots_[column];
    switch (State(record, column)) {
        case kNull:
            return TNull{};
        case kInSlot:
            return ReadInSlot(slot, record + slot.Offset);
        case kOutOfLine:
            return outOfLine.Get(Index(record + slot.Offset));
        case kUnassigned:
            break;
    }
    return TVariant();
}

void TDSRecordLayout::Write(std::byte* record, int column, const TVariant& value,
                            TDSOutOfLineValues& outOfLine) const {
    const TSlot& slot = slots_[column];
    std::byte* data = record + slot.Offset;
    const bool wasOutOfLine = State(record, column) == kOutOfLine;
    const std::uint32_t previous = wasOutOfLine ? Index(data) : 0;
    TState state = kInSlot;
    if (VarIsEmptyOrNull(value)) {
        state = VarIsNull(value) ? kNull : kUnassigned;
    } else if (!WriteInSlot(slot, data, value)) {
        Store(data, wasOutOfLine ? previous : outOfLine.Add(value));
        if (wasOutOfLine) {
            outOfLine.Set(previous, value);
        }
        SetState(record, column, kOutOfLine);
        return;
    }
    if (wasOutOfLine) {
        outOfLine.Release(previous);
    }
    SetState(record, column, state);
}

// Where a value goes in a clear record: nowhere (unassigned), only its state (null), its slot, or
// out of line with its index in the slot.
inline TDSRecordLayout::TState TDSRecordLayout::Place(const TSlot& slot, std::byte* data,
                                                      const TVariant& value,
                                                      TDSOutOfLineValues& outOfLine) const {
    if (VarIsEmptyOrNull(value)) {
        return VarIsNull(value) ? kNull : kUnassigned;
    }
    if (WriteInSlot(slot, data, value)) {
        return kInSlot;
    }
    Store(data, outOfLine.Add(value));
    return kOutOfLine;
}

// The states of four columns share a byte, which is written once they are all placed.
void TDSRecordLayout::Fill(std::byte* record, const TVariant* values, TDSOutOfLineValues& outOfLine) const {
    const int count = ColumnCount();
    for (int first = 0; first < count; first += 4) {
        const int end = std::min(first + 4, count);
        unsigned states = 0;
        for (int column = first; column < end; ++column) {
            const TSlot& slot = slots_[column];
            states |= unsigned{Place(slot, record + slot.Offset, values[column], outOfLine)}
                      << ((column - first) * 2);
        }
        record[first / 4] = static_cast<std::byte>(states);
    }
}

void TDSRecordLayout::Copy(const std::byte* source, std::byte* target, TDSOutOfLineValues& outOfLine) const {
    if (source == target) {
        return;
    }
    Release(target, outOfLine);
    std::memcpy(target, source, recordSize_);
    for (int column = 0; column < ColumnCount(); ++column) {
        if (State(target, column) == kOutOfLine) {
            std::byte* data = target + slots_[column].Offset;
            const TVariant value = outOfLine.Get(Index(data));
            Store(data, outOfLine.Add(value));
        }
    }
}

void TDSRecordLayout::Release(std::byte* record, TDSOutOfLineValues& outOfLine) const {
    for (int column = 0; column < ColumnCount(); ++column) {
        if (State(record, column) == kOutOfLine) {
            outOfLine.Release(Index(record + slots_[column].Offset));
        }
    }
    std::memset(record, 0, recordSize_);
}

}  // namespace contado
