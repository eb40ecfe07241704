#include "data/fields/numericfield.h"

namespace contado {

TNumericField::TNumericField(TComponent* owner) : TField(owner) {
    SetAlignment(taRightJustify);
    SetValidChars(CharsOf("+-0123456789"));
}

const std::string& TNumericField::TextFormat(bool displayText) const {
    return displayText || editFormat_.empty() ? displayFormat_ : editFormat_;
}

}  // namespace contado
