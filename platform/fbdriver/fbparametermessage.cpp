#include "platform/fbdriver/fbparametermessage.h"

#include <ibase.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/fbdriver/fbblobio.h"
#include "platform/fbdriver/fbdateconversion.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

namespace {

// Text slots grow in steps, so texts of similar length share one layout.
constexpr unsigned kTextStep = 64;
constexpr unsigned kMaxVaryingLength = 32765;

bool IsTextType(unsigned type) {
    return type == SQL_TEXT || type == SQL_VARYING;
}

unsigned TextSlotLength(std::size_t bytes) {
    if (bytes > kMaxVaryingLength) {
        throw EFbDriverError(14,
                             "Text parameter longer than " + std::to_string(kMaxVaryingLength) + " bytes");
    }
    const auto rounded = static_cast<unsigned>((bytes / kTextStep + 1) * kTextStep);
    return rounded < kMaxVaryingLength ? rounded : kMaxVaryingLength;
}

bool FitsInt64(TBcd::Unscaled value) {
    return value >= std::numeric_limits<std::int64_t>::min() &&
           value <= std::numeric_limits<std::int64_t>::max();
}

template <typename T>
void StoreRaw(unsigned char* data, T value) {
    std::memcpy(data, &value, sizeof(value));
}

const TDriverValue& NullValue() {
    static const TDriverValue value;
    return value;
}

}  // namespace

TFbParameterMessage::~TFbParameterMessage() {
    Reset();
}

void TFbParameterMessage::Reset() {
    ReleaseLayout();
    declared_.clear();
    declaredRead_ = false;
}

void TFbParameterMessage::ReleaseLayout() {
    if (metadata_ != nullptr) {
        metadata_->release();
        metadata_ = nullptr;
    }
    slots_.clear();
}

void TFbParameterMessage::Build(Firebird::IMessageMetadata* declared, const std::vector<TDriverValue>& values,
                                Firebird::ITransaction* transaction) {
    const std::vector<TSlot>& declaredSlots = DeclaredSlots(declared);
    const auto count = static_cast<unsigned>(declaredSlots.size());
    if (values.size() > count) {
        throw EFbDriverError(sqlstatus::kOutOfRange,
                             "The statement has " + std::to_string(count) + " parameters");
    }
    if (count == 0) {
        ReleaseLayout();
        return;
    }
    scratch_.clear();
    bound_.clear();
    encoded_.resize(count);
    for (unsigned index = 0; index < count; ++index) {
        const TSlot& slot = declaredSlots[index];
        const TDriverValue& given = index < values.size() ? values[index] : NullValue();
        const TDriverValue& value = Encoded(slot, given, encoded_[index]);
        bound_.push_back(&value);
        scratch_.push_back(SlotFor(slot, value));
    }
    if (metadata_ == nullptr || scratch_ != slots_) {
        Layout(scratch_);
    }
    for (unsigned index = 0; index < count; ++index) {
        Store(index, *bound_[index], transaction);
    }
}

// Text for a text parameter or a text blob in the declared character set: the value itself when that
// is UTF-8, else a converted copy kept in encoded.
const TDriverValue& TFbParameterMessage::Encoded(const TSlot& declared, const TDriverValue& value,
                                                 TDriverValue& encoded) const {
    const bool text = value.Type == TDriverType::Text || value.Type == TDriverType::Blob;
    const bool textTarget = IsTextType(declared.Type) || (declared.Type == SQL_BLOB && declared.SubType == 1);
    if (value.IsNull || !text || !textTarget || TFbTextCodec::PassesUnchanged(declared.CharSet)) {
        return value;
    }
    encoded = value;
    session_.Codec().FromUtf8(declared.CharSet, encoded.Text);
    return encoded;
}

// The statement's parameters as declared, read at the first build after a Reset.
const std::vector<TFbParameterMessage::TSlot>& TFbParameterMessage::DeclaredSlots(
    Firebird::IMessageMetadata* declared) {
    if (!declaredRead_) {
        const unsigned count = declared == nullptr ? 0 : declared->getCount(session_.Status());
        declared_.clear();
        for (unsigned index = 0; index < count; ++index) {
            declared_.push_back(DeclaredSlot(declared, index));
        }
        declaredRead_ = true;
    }
    return declared_;
}

TFbParameterMessage::TSlot TFbParameterMessage::DeclaredSlot(Firebird::IMessageMetadata* declared,
                                                             unsigned index) const {
    Firebird::ThrowStatusWrapper* status = session_.Status();
    return TSlot{declared->getType(status, index) & ~1u, declared->getLength(status, index),
                 declared->getScale(status, index), declared->getSubType(status, index),
                 declared->getCharSet(status, index)};
}

TFbParameterMessage::TSlot TFbParameterMessage::SlotFor(const TSlot& declared,
                                                        const TDriverValue& value) const {
    if (value.IsNull) {
        return declared;
    }
    const unsigned textCharSet = IsTextType(declared.Type) ? declared.CharSet : 0;
    switch (value.Type) {
        case TDriverType::Text:
            if (declared.Type == SQL_BLOB) {
                return TSlot{SQL_BLOB, sizeof(ISC_QUAD), 0, declared.SubType, declared.CharSet};
            }
            return TSlot{SQL_VARYING, TextSlotLength(value.Text.size()), 0, 0, textCharSet};
        case TDriverType::Blob:
            return TSlot{SQL_BLOB, sizeof(ISC_QUAD), 0, declared.Type == SQL_BLOB ? declared.SubType : 0,
                         declared.CharSet};
        case TDriverType::Boolean:
            return TSlot{SQL_BOOLEAN, 1};
        case TDriverType::Int16:
            return TSlot{SQL_SHORT, sizeof(std::int16_t)};
        case TDriverType::Int32:
            return TSlot{SQL_LONG, sizeof(std::int32_t)};
        case TDriverType::Int64:
            return TSlot{SQL_INT64, sizeof(std::int64_t)};
        case TDriverType::Float:
            return TSlot{SQL_DOUBLE, sizeof(double)};
        case TDriverType::Bcd:
            if (FitsInt64(value.Decimal.UnscaledValue())) {
                return TSlot{SQL_INT64, sizeof(std::int64_t), -value.Decimal.Scale()};
            }
            return TSlot{SQL_VARYING, TextSlotLength(value.Decimal.ToString('.').size())};
        case TDriverType::Date:
            return TSlot{SQL_TYPE_DATE, sizeof(ISC_DATE)};
        case TDriverType::Time:
            return TSlot{SQL_TYPE_TIME, sizeof(ISC_TIME)};
        case TDriverType::TimeStamp:
            return TSlot{SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP)};
        case TDriverType::Unknown:
            break;
    }
    throw EFbDriverError(sqlstatus::kInvalidFieldType);
}

void TFbParameterMessage::Layout(const std::vector<TSlot>& slots) {
    Firebird::ThrowStatusWrapper* status = session_.Status();
    const auto count = static_cast<unsigned>(slots.size());
    TFbRef builder(session_.Client().Master()->getMetadataBuilder(status, count));
    for (unsigned index = 0; index < count; ++index) {
        const TSlot& slot = slots[index];
        builder->setType(status, index, slot.Type | 1);  // nullable
        builder->setLength(status, index, slot.Length);
        builder->setScale(status, index, slot.Scale);
        builder->setSubType(status, index, slot.SubType);
        builder->setCharSet(status, index, slot.CharSet);
    }
    Firebird::IMessageMetadata* metadata = builder->getMetadata(status);
    ReleaseLayout();
    metadata_ = metadata;
    slots_ = slots;
    offsets_.resize(count);
    nullOffsets_.resize(count);
    for (unsigned index = 0; index < count; ++index) {
        offsets_[index] = metadata->getOffset(status, index);
        nullOffsets_[index] = metadata->getNullOffset(status, index);
    }
    buffer_.assign(metadata->getMessageLength(status), 0);
}

void TFbParameterMessage::Store(unsigned index, const TDriverValue& value,
                                Firebird::ITransaction* transaction) {
    StoreRaw<std::int16_t>(buffer_.data() + nullOffsets_[index], value.IsNull ? -1 : 0);
    if (value.IsNull) {
        return;
    }
    unsigned char* data = buffer_.data() + offsets_[index];
    switch (slots_[index].Type) {
        case SQL_VARYING:
            StoreText(data, value.Type == TDriverType::Bcd ? value.Decimal.ToString('.') : value.Text);
            break;
        case SQL_BLOB:
            StoreRaw(data, TFbBlobIO::Write(session_, transaction, value.Text));
            break;
        case SQL_BOOLEAN:
            StoreRaw<std::uint8_t>(data, value.Integer != 0 ? 1 : 0);
            break;
        case SQL_SHORT:
            StoreRaw(data, static_cast<std::int16_t>(value.Integer));
            break;
        case SQL_LONG:
            StoreRaw(data, static_cast<std::int32_t>(value.Integer));
            break;
        case SQL_INT64:
            StoreRaw(data, value.Type == TDriverType::Bcd
                               ? static_cast<std::int64_t>(value.Decimal.UnscaledValue())
                               : value.Integer);
            break;
        case SQL_DOUBLE:
            StoreRaw(data, value.Real);
            break;
        case SQL_TYPE_DATE:
            StoreRaw(data, FbDateFromDayNumber(value.Integer));
            break;
        case SQL_TYPE_TIME:
            StoreRaw(data, FbTimeFromTimeUnits(value.Integer));
            break;
        case SQL_TIMESTAMP:
            StoreRaw(data,
                     ISC_TIMESTAMP{FbDateFromDayNumber(value.Integer), FbTimeFromTimeUnits(value.TimeOfDay)});
            break;
    }
}

void TFbParameterMessage::StoreText(unsigned char* data, const std::string& text) const {
    StoreRaw(data, static_cast<std::uint16_t>(text.size()));
    std::memcpy(data + sizeof(std::uint16_t), text.data(), text.size());
}

}  // namespace contado
