#include "platform/fbdriver/fbrowlayout.h"

#include <ibase.h>

#include <cstring>

#include "platform/fbdriver/fbblobio.h"
#include "platform/fbdriver/fbdateconversion.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

namespace {

// Firebird's default precisions of the integer types that hold decimals.
constexpr int kSmallintPrecision = 4;
constexpr int kIntegerPrecision = 9;
constexpr int kBigintPrecision = 18;
// A 64-bit integer holds every number of 18 digits and some of 19 (up to 9223372036854775807).
constexpr int kBigintDigits = 19;
constexpr unsigned kTextSubType = 1;

unsigned BytesPerCharacter(unsigned charSet) {
    switch (charSet & 0xFF) {
        case 3:  // UNICODE_FSS
            return 3;
        case 4:   // UTF8
        case 69:  // GB18030
            return 4;
        case 5:   // SJIS_0208
        case 6:   // EUCJ_0208
        case 44:  // KSC_5601
        case 56:  // BIG_5
        case 57:  // GB_2312
        case 67:  // GBK
        case 68:  // CP943C
            return 2;
        default:
            return 1;
    }
}

std::size_t CharacterCount(const std::string& utf8) {
    std::size_t count = 0;
    for (unsigned char byte : utf8) {
        count += (byte & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

}  // namespace

TFbRowLayout::TFbRowLayout(TFbSession& session, Firebird::IMessageMetadata* output) : session_(session) {
    output->addRef();
    metadata_.Reset(output);
    Firebird::ThrowStatusWrapper* status = session.Status();
    const unsigned count = output->getCount(status);
    columns_.reserve(count);
    for (unsigned index = 0; index < count; ++index) {
        columns_.push_back(Describe(output, index));
        TColumn& column = columns_.back();
        column.Decimal = column.Description.Type == TDriverType::Bcd;
    }
    messageLength_ = output->getMessageLength(status);
}

TFbRowLayout::TColumn TFbRowLayout::Describe(Firebird::IMessageMetadata* output, unsigned index) const {
    Firebird::ThrowStatusWrapper* status = session_.Status();
    TColumn column;
    column.Type = output->getType(status, index) & ~1u;
    column.Scale = output->getScale(status, index);
    column.Length = output->getLength(status, index);
    column.Offset = output->getOffset(status, index);
    column.NullOffset = output->getNullOffset(status, index);
    TColumnDescription& description = column.Description;
    description.Name = output->getAlias(status, index);
    description.Nullable = output->isNullable(status, index);
    description.Length = static_cast<std::int32_t>(column.Length);
    switch (column.Type) {
        case SQL_TEXT:
        case SQL_VARYING:
            column.CharSet = output->getCharSet(status, index) & 0xFF;
            column.BytesPerCharacter = BytesPerCharacter(column.CharSet);
            description.Type = TDriverType::Text;
            description.SubType = column.Type == SQL_TEXT ? TDriverSubType::FixedChar : TDriverSubType::None;
            description.Length = static_cast<std::int32_t>(column.Length / column.BytesPerCharacter);
            break;
        case SQL_SHORT:
            DescribeInteger(output, index, TDriverType::Int16, kSmallintPrecision, column);
            break;
        case SQL_LONG:
            DescribeInteger(output, index, TDriverType::Int32, kIntegerPrecision, column);
            break;
        case SQL_INT64:
            DescribeInteger(output, index, TDriverType::Int64, kBigintPrecision, column);
            break;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            description.Type = TDriverType::Float;
            break;
        case SQL_TYPE_DATE:
            description.Type = TDriverType::Date;
            break;
        case SQL_TYPE_TIME:
            description.Type = TDriverType::Time;
            break;
        case SQL_TIMESTAMP:
            description.Type = TDriverType::TimeStamp;
            break;
        case SQL_BLOB:
            column.CharSet = output->getCharSet(status, index) & 0xFF;
            description.Type = TDriverType::Blob;
            description.SubType = output->getSubType(status, index) == static_cast<int>(kTextSubType)
                                      ? TDriverSubType::Memo
                                      : TDriverSubType::Binary;
            break;
        case SQL_BOOLEAN:
            description.Type = TDriverType::Boolean;
            break;
        default:
            description.Type = TDriverType::Unknown;
            break;
    }
    return column;
}

// An integer column with a scale is a decimal; its declared precision comes from the catalogue.
void TFbRowLayout::DescribeInteger(Firebird::IMessageMetadata* output, unsigned index, TDriverType type,
                                   int fallbackPrecision, TColumn& column) const {
    TColumnDescription& description = column.Description;
    if (column.Scale >= 0) {
        description.Type = type;
        return;
    }
    Firebird::ThrowStatusWrapper* status = session_.Status();
    description.Type = TDriverType::Bcd;
    description.Scale = -column.Scale;
    description.Precision = session_.DecimalPrecision(output->getRelation(status, index),
                                                      output->getField(status, index), fallbackPrecision);
    // Eighteen digits, the most a declaration allows, are stored in 64 bits, whose largest values have
    // nineteen: described so, every value of the column reads and writes whole.
    if (column.Type == SQL_INT64 && description.Precision >= kBigintPrecision) {
        description.Precision = kBigintDigits;
    }
}

// What the inline Read leaves to a call: text, times, stamps, blobs and booleans, never null.
void TFbRowLayout::ReadOther(const unsigned char* data, const TColumn& column, TDriverValue& value,
                             Firebird::ITransaction* transaction) const {
    switch (column.Type) {
        case SQL_TEXT:
            ReadFixedText(data, column, value.Text);
            break;
        case SQL_VARYING:
            value.Text.assign(reinterpret_cast<const char*>(data) + sizeof(std::uint16_t),
                              Load<std::uint16_t>(data));
            ToUtf8(column, value.Text);
            break;
        case SQL_FLOAT:
            value.Real = Load<float>(data);
            break;
        case SQL_TYPE_TIME:
            value.Integer = Load<ISC_TIME>(data);
            break;
        case SQL_TIMESTAMP: {
            const auto stamp = Load<ISC_TIMESTAMP>(data);
            value.Integer = DayNumberFromFbDate(stamp.timestamp_date);
            value.TimeOfDay = static_cast<std::int32_t>(stamp.timestamp_time);
            break;
        }
        case SQL_BLOB: {
            const int blobSize = session_.Options().BlobSize;
            TFbBlobIO::Read(session_, transaction, Load<ISC_QUAD>(data),
                            blobSize < 0 ? -1L : blobSize * 1024L, value.Text);
            if (column.Description.SubType == TDriverSubType::Memo) {
                ToUtf8(column, value.Text);
            }
            break;
        }
        case SQL_BOOLEAN:
            value.Integer = *data != 0 ? 1 : 0;
            break;
        default:
            value.IsNull = true;
            break;
    }
}

// Fixed text comes padded to its byte length; it is given back padded to its declared number of
// characters, or without trailing blanks when the connection trims them.
void TFbRowLayout::ReadFixedText(const unsigned char* data, const TColumn& column, std::string& text) const {
    const auto* characters = reinterpret_cast<const char*>(data);
    const bool trim = session_.Options().TrimChar;
    if (column.BytesPerCharacter == 1 && !trim && TFbTextCodec::PassesUnchanged(column.CharSet)) {
        text.assign(characters, column.Length);
        return;
    }
    std::size_t end = column.Length;
    while (end > 0 && characters[end - 1] == ' ') {
        --end;
    }
    text.assign(characters, end);
    ToUtf8(column, text);
    const auto declared = static_cast<std::size_t>(column.Description.Length);
    const std::size_t count = CharacterCount(text);
    if (!trim && count < declared) {
        text.append(declared - count, ' ');
    }
}

void TFbRowLayout::ToUtf8(const TColumn& column, std::string& text) const {
    if (!TFbTextCodec::PassesUnchanged(column.CharSet)) {
        session_.Codec().ToUtf8(column.CharSet, text);
    }
}

}  // namespace contado
