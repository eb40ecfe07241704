#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/bcd.h"
#include "core/component.h"
#include "core/currency.h"
#include "core/datetime.h"
#include "core/enumset.h"
#include "core/fieldtype.h"
#include "core/variant.h"
#include "data/dataset/datasettypes.h"

namespace contado {

class TDataSet;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TProviderFlag { pfInUpdate, pfInWhere, pfInKey, pfHidden };
using TProviderFlags = TEnumSet<TProviderFlag>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// One column of a dataset as the program reads and writes it. The value lives in the dataset's
// record buffer; a field converts it to and from the program's types and texts.
class TField : public TComponent {
  public:
    explicit TField(TComponent* owner = nullptr);
    ~TField() override;

    TDataSet* DataSet() const { return dataSet_; }
    // Adds the field to the dataset's fields (and removes it from the previous one's).
    void SetDataSet(TDataSet* dataSet);

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name) { fieldName_ = name; }
    // The label, or the field name when no label is set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
    std::string DisplayName() const { return DisplayLabel(); }

    TFieldType DataType() const { return dataType_; }
    // Characters of a text field, scale of a decimal field, 0 for the others.
    int Size() const { return size_; }
    virtual void SetSize(int size) { size_ = size; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    TFieldKind FieldKind() const { return fieldKind_; }
    void SetFieldKind(TFieldKind kind) { fieldKind_ = kind; }
    // Column position counted from 1 while bound; 0 when not bound, -1 for calculated fields.
    int FieldNo() const { return fieldNo_; }
    TProviderFlags ProviderFlags() const { return providerFlags_; }
    void SetProviderFlags(TProviderFlags flags) { providerFlags_ = flags; }
    const std::string& Origin() const { return origin_; }
    void SetOrigin(const std::string& origin) { origin_ = origin; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }

    bool IsNull() const { return VarIsEmptyOrNull(GetData()); }
    virtual std::string AsString() const;
    virtual void SetAsString(const std::string& value);
    virtual std::int32_t AsInteger() const;
    virtual void SetAsInteger(std::int32_t value);
    virtual std::int64_t AsLargeInt() const;
    virtual void SetAsLargeInt(std::int64_t value);
    virtual double AsFloat() const;
    virtual void SetAsFloat(double value);
    virtual TDateTime AsDateTime() const;
    virtual void SetAsDateTime(TDateTime value);
    virtual TCurrency AsCurrency() const;
    virtual void SetAsCurrency(TCurrency value);
    virtual TBcd AsBCD() const;
    virtual void SetAsBCD(const TBcd& value);
    // The value as it is stored: null, or the field's own kind of value.
    TVariant AsVariant() const { return Value(); }
    void SetAsVariant(const TVariant& value) { SetValue(value); }
    // The record's own value, valid until the record changes or another record is current.
    const TVariant& Value() const;
    // Null or unassigned clears the field; other values go through the typed setters.
    void SetValue(const TVariant& value);

    // Values of the record before editing, as edited, and as the database holds them now.
    TVariant OldValue() const;
    TVariant NewValue() const;
    TVariant CurValue() const;

    // Edit text and display text; a null field gives an empty text.
    std::string Text() const { return GetText(false); }
    std::string DisplayText() const { return GetText(true); }
    virtual std::string GetText(bool displayText) const;
    virtual void SetText(const std::string& text) { SetAsString(text); }

    const std::bitset<256>& ValidChars() const { return validChars_; }
    void SetValidChars(const std::bitset<256>& chars) { validChars_ = chars; }
    virtual bool IsValidChar(char c) const;
    // The same by character: one beyond ASCII is valid where the field takes every byte above 127
    // (text and date fields), never in a number field.
    bool IsValidCharacter(char32_t c) const;

    void Clear() { SetData(TNull{}); }
    // Asks the control that shows this field to take the focus.
    void FocusControl();

    // Called by the dataset when it binds its fields to its columns.
    void Bind(int fieldNo, int bufferIndex);
    int BufferIndex() const { return bufferIndex_; }

  protected:
    void SetDataType(TFieldType type) { dataType_ = type; }
    virtual int DefaultWidth() const { return 10; }
    // The stored value (null when the field has no value or no current record), valid until the
    // record changes or another record is current.
    const TVariant& GetData() const;
    // Writes a value; fails when the field is read-only or the dataset is not editing.
    void SetData(const TVariant& value);
    [[noreturn]] void AccessError(const char* typeName) const;
    // "%s is not a valid value for field '%s'. The allowed range is %s to %s".
    [[noreturn]] void RangeError(const std::string& value, const std::string& min,
                                 const std::string& max) const;
    static std::bitset<256> CharsOf(const char* chars);

  private:
    friend class TDataSet;

    TDataSet* dataSet_ = nullptr;
    std::string fieldName_;
    std::string displayLabel_;
    TFieldType dataType_ = ftUnknown;
    int size_ = 0;
    bool required_ = false;
    bool readOnly_ = false;
    bool visible_ = true;
    TFieldKind fieldKind_ = fkData;
    int fieldNo_ = 0;
    int bufferIndex_ = -1;
    TProviderFlags providerFlags_{pfInUpdate, pfInWhere};
    std::string origin_;
    TAlignment alignment_ = taLeftJustify;
    int displayWidth_ = 0;
    std::bitset<256> validChars_;
};

}  // namespace contado
