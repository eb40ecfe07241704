#pragma once

#include <firebird/Interface.h>

#include <ibase.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/fbdriver/fbdateconversion.h"
#include "platform/fbdriver/fbref.h"
#include "platform/sqldriver.h"

namespace contado {

class TFbSession;

// The output message of a statement: what each column is, as the driver describes it, and where it
// lies in a fetched row.
class TFbRowLayout {
  public:
    TFbRowLayout(TFbSession& session, Firebird::IMessageMetadata* output);

    std::uint16_t Count() const { return static_cast<std::uint16_t>(columns_.size()); }
    // Columns count from 0 here.
    const TColumnDescription& Description(std::uint16_t index) const { return columns_[index].Description; }
    Firebird::IMessageMetadata* Metadata() const { return metadata_.Get(); }
    unsigned MessageLength() const { return messageLength_; }
    // Whether reading the column calls the server (a blob); every other value lies in the row.
    bool ReadsFromServer(std::uint16_t index) const { return columns_[index].Type == SQL_BLOB; }

    // Copies one column of a fetched row into value, reusing its storage; blobs are read within the
    // transaction. Inline, as every column of every fetched row comes through here: numbers and
    // dates are read here, everything else out of line.
    void Read(const unsigned char* row, std::uint16_t index, TDriverValue& value,
              Firebird::ITransaction* transaction) const;

  private:
    struct TColumn {
        TColumnDescription Description;
        unsigned Type = 0;
        int Scale = 0;
        unsigned Length = 0;  // bytes in the message
        unsigned BytesPerCharacter = 1;
        unsigned CharSet = 0;  // of text and text blobs
        unsigned Offset = 0;
        unsigned NullOffset = 0;
        bool Decimal = false;  // an integer type with a scale, read as a decimal
    };

    template <typename T>
    static T Load(const unsigned char* data) {
        T value;
        std::memcpy(&value, data, sizeof(value));
        return value;
    }
    void ReadOther(const unsigned char* data, const TColumn& column, TDriverValue& value,
                   Firebird::ITransaction* transaction) const;

    TColumn Describe(Firebird::IMessageMetadata* output, unsigned index) const;
    void DescribeInteger(Firebird::IMessageMetadata* output, unsigned index, TDriverType type,
                         int fallbackPrecision, TColumn& column) const;
    void ReadFixedText(const unsigned char* data, const TColumn& column, std::string& text) const;
    void ToUtf8(const TColumn& column, std::string& text) const;
    static void ReadInteger(std::int64_t raw, const TColumn& column, TDriverValue& value) {
        if (column.Decimal) {
            value.Decimal = TBcd::FromUnscaled(raw, -column.Scale);
        } else {
            value.Integer = raw;
        }
    }

    TFbSession& session_;
    TFbRef<Firebird::IMessageMetadata> metadata_;
    std::vector<TColumn> columns_;
    unsigned messageLength_ = 0;
};

inline void TFbRowLayout::Read(const unsigned char* row, std::uint16_t index, TDriverValue& value,
                               Firebird::ITransaction* transaction) const {
    const TColumn& column = columns_[index];
    value.Type = column.Description.Type;
    value.IsNull = Load<std::int16_t>(row + column.NullOffset) != 0;
    if (value.IsNull) {
        return;
    }
    const unsigned char* data = row + column.Offset;
    switch (column.Type) {
        case SQL_SHORT:
            return ReadInteger(Load<std::int16_t>(data), column, value);
        case SQL_LONG:
            return ReadInteger(Load<std::int32_t>(data), column, value);
        case SQL_INT64:
            return ReadInteger(Load<std::int64_t>(data), column, value);
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            value.Real = Load<double>(data);
            return;
        case SQL_TYPE_DATE:
            value.Integer = DayNumberFromFbDate(Load<ISC_DATE>(data));
            return;
        default:
            return ReadOther(data, column, value, transaction);
    }
}

}  // namespace contado
