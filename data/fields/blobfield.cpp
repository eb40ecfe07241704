#include "data/fields/blobfield.h"

#include "core/textutil.h"

namespace contado {

TBlobField::TBlobField(TComponent* owner, TFieldType type) : TField(owner) {
    SetDataType(type);
}

std::string TBlobField::AsString() const {
    const TVariant value = GetData();
    const auto* text = std::get_if<std::string>(&value);
    return text != nullptr ? *text : std::string();
}

std::string TBlobField::GetText(bool) const {
    const std::string kind = KindText();
    return "(" + (IsNull() ? LowerCase(kind) : kind) + ")";
}

}  // namespace contado
