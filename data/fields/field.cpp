#include "data/fields/field.h"

#include "core/exceptions.h"
#include "core/textutil.h"
#include "data/dataset/dataset.h"

namespace contado {

TField::TField(TComponent* owner) : TComponent(owner) {
    validChars_.set();
}

TField::~TField() {
    if (dataSet_ != nullptr) {
        dataSet_->RemoveField(this);
    }
}

void TField::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) {
        return;
    }
    if (dataSet != nullptr) {
        dataSet->AddField(this);
    }
    if (dataSet_ != nullptr) {
        dataSet_->RemoveField(this);
    }
    dataSet_ = dataSet;
}

void TField::Bind(int fieldNo, int bufferIndex) {
    fieldNo_ = fieldNo;
    bufferIndex_ = bufferIndex;
}

const TVariant& TField::GetData() const {
    if (dataSet_ == nullptr || bufferIndex_ < 0) {
        return NullVariant();
    }
    const TVariant& value = dataSet_->GetFieldValue(*this);
    return VarIsUnassigned(value) ? NullVariant() : value;
}

void TField::SetData(const TVariant& value) {
    if (dataSet_ == nullptr) {
        throw EDatabaseError(FormatMessage("Field '%s' has no dataset", DisplayName()));
    }
    const TDataSetState state = dataSet_->State();
    if (readOnly_ && fieldKind_ != fkCalculated && state != dsSetKey && state != dsFilter) {
        throw EDatabaseError(FormatMessage("Field '%s' cannot be modified", DisplayName()));
    }
    const bool writable = state == dsEdit || state == dsInsert || state == dsSetKey ||
                          state == dsCalcFields || state == dsInternalCalc || state == dsFilter ||
                          state == dsNewValue;
    if (!writable) {
        throw EDatabaseError(PrefixedMessage(dataSet_->Name(), "Dataset not in edit or insert mode"));
    }
    dataSet_->SetFieldValue(*this, value);
}

const TVariant& TField::Value() const {
    return GetData();
}

void TField::SetValue(const TVariant& value) {
    if (VarIsEmptyOrNull(value)) {
        Clear();
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        SetAsLargeInt(*integer);
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        SetAsInteger(*flag ? 1 : 0);
    } else if (const auto* real = std::get_if<double>(&value)) {
        SetAsFloat(*real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        SetAsString(*text);
    } else if (const auto* decimal = std::get_if<TBcd>(&value)) {
        SetAsBCD(*decimal);
    }
}

TVariant TField::OldValue() const {
    return dataSet_->StateFieldValue(dsOldValue, *this);
}
TVariant TField::NewValue() const {
    return dataSet_->StateFieldValue(dsNewValue, *this);
}
TVariant TField::CurValue() const {
    return dataSet_->StateFieldValue(dsCurValue, *this);
}

std::string TField::GetText(bool) const {
    return IsNull() ? std::string() : AsString();
}

bool TField::IsValidChar(char c) const {
    return validChars_.test(static_cast<unsigned char>(c));
}

bool TField::IsValidCharacter(char32_t c) const {
    if (c < 0x80) {
        return IsValidChar(static_cast<char>(c));
    }
    for (std::size_t byte = 0x80; byte < validChars_.size(); ++byte) {
        if (!validChars_.test(byte)) {
            return false;
        }
    }
    return true;
}

void TField::FocusControl() {
    if (dataSet_ != nullptr && dataSet_->Active()) {
        TField* field = this;
        dataSet_->DataEvent(deFocusControl, reinterpret_cast<std::intptr_t>(&field));
    }
}

void TField::AccessError(const char* typeName) const {
    throw EDatabaseError(FormatMessage("Cannot access field '%s' as type %s", DisplayName(), typeName));
}

void TField::RangeError(const std::string& value, const std::string& min, const std::string& max) const {
    throw EDatabaseError(
        FormatMessage("%s is not a valid value for field '%s'. The allowed range is %s to %s", value,
                      DisplayName(), min, max));
}

std::bitset<256> TField::CharsOf(const char* chars) {
    std::bitset<256> set;
    for (const char* c = chars; *c != '\0'; ++c) {
        set.set(static_cast<unsigned char>(*c));
    }
    return set;
}

std::string TField::AsString() const {
    AccessError("String");
}
void TField::SetAsString(const std::string&) {
    AccessError("String");
}
std::int32_t TField::AsInteger() const {
    AccessError("Integer");
}
void TField::SetAsInteger(std::int32_t) {
    AccessError("Integer");
}
std::int64_t TField::AsLargeInt() const {
    return AsInteger();
}
void TField::SetAsLargeInt(std::int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) {
        RangeError(ToText(value), ToText(INT32_MIN), ToText(INT32_MAX));
    }
    SetAsInteger(static_cast<std::int32_t>(value));
}
double TField::AsFloat() const {
    AccessError("Float");
}
void TField::SetAsFloat(double) {
    AccessError("Float");
}
TDateTime TField::AsDateTime() const {
    AccessError("DateTime");
}
void TField::SetAsDateTime(TDateTime) {
    AccessError("DateTime");
}
TCurrency TField::AsCurrency() const {
    return TCurrency::FromDouble(AsFloat());
}
void TField::SetAsCurrency(TCurrency value) {
    SetAsFloat(value.ToDouble());
}
TBcd TField::AsBCD() const {
    AccessError("BCD");
}
void TField::SetAsBCD(const TBcd&) {
    AccessError("BCD");
}

}  // namespace contado
