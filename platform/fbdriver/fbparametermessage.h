#pragma once

#include <firebird/Interface.h>

#include <vector>

#include "platform/sqldriver.h"

namespace contado {

class TFbSession;

// The input message of a statement: the bound values laid out in types of their own, which the
// server converts to the declared ones. The layout is kept while the shapes of the values stay the
// same, so running one statement many times builds it once; the declared parameters are read once
// per statement.
class TFbParameterMessage {
  public:
    explicit TFbParameterMessage(TFbSession& session) : session_(session) {}
    ~TFbParameterMessage();
    TFbParameterMessage(const TFbParameterMessage&) = delete;
    TFbParameterMessage& operator=(const TFbParameterMessage&) = delete;

    // Values beyond the declared count fail; positions without a value are null. Blob values are
    // written within the transaction.
    void Build(Firebird::IMessageMetadata* declared, const std::vector<TDriverValue>& values,
               Firebird::ITransaction* transaction);
    Firebird::IMessageMetadata* Metadata() const { return metadata_; }
    unsigned char* Buffer() { return buffer_.data(); }
    // Forgets the layout and the declared parameters (the statement changed).
    void Reset();

  private:
    struct TSlot {
        unsigned Type = 0;
        unsigned Length = 0;
        int Scale = 0;
        int SubType = 0;
        unsigned CharSet = 0;
        friend bool operator==(const TSlot&, const TSlot&) = default;
    };

    const std::vector<TSlot>& DeclaredSlots(Firebird::IMessageMetadata* declared);
    TSlot DeclaredSlot(Firebird::IMessageMetadata* declared, unsigned index) const;
    const TDriverValue& Encoded(const TSlot& declared, const TDriverValue& value,
                                TDriverValue& encoded) const;
    TSlot SlotFor(const TSlot& declared, const TDriverValue& value) const;
    void Layout(const std::vector<TSlot>& slots);
    void ReleaseLayout();
    void Store(unsigned index, const TDriverValue& value, Firebird::ITransaction* transaction);
    void StoreText(unsigned char* data, const std::string& text) const;

    TFbSession& session_;
    std::vector<TSlot> declared_;
    bool declaredRead_ = false;
    std::vector<TSlot> slots_;
    Firebird::IMessageMetadata* metadata_ = nullptr;
    std::vector<unsigned> offsets_;
    std::vector<unsigned> nullOffsets_;
    std::vector<unsigned char> buffer_;
    std::vector<TSlot> scratch_;
    std::vector<TDriverValue> encoded_;
    std::vector<const TDriverValue*> bound_;
};

}  // namespace contado
