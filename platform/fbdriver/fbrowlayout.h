#pragma once

#include <firebird/Interface.h>

#include <cstdint>
#include <vector>

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

    // Copies one column of a fetched row into value, reusing its storage; blobs are read within the
    // transaction.
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
    };

    TColumn Describe(Firebird::IMessageMetadata* output, unsigned index) const;
    void DescribeInteger(Firebird::IMessageMetadata* output, unsigned index, TDriverType type,
                         int fallbackPrecision, TColumn& column) const;
    void ReadFixedText(const unsigned char* data, const TColumn& column, std::string& text) const;
    void ToUtf8(const TColumn& column, std::string& text) const;
    void ReadInteger(std::int64_t raw, const TColumn& column, TDriverValue& value) const;

    TFbSession& session_;
    TFbRef<Firebird::IMessageMetadata> metadata_;
    std::vector<TColumn> columns_;
    unsigned messageLength_ = 0;
};

}  // namespace contado
