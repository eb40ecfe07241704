#include "data/client/filtertypechecker.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "core/utf8text.h"

namespace contado {

namespace {

[[noreturn]] void TypeMismatch() {
    throw EDatabaseError("Type mismatch in expression");
}

bool IsIntegerType(TFieldType type) {
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc ||
           type == ftLargeint;
}

bool ParseNumber(const std::string& text, char decimalSeparator, TBcd& value) {
    std::string normalized = text;
    std::replace(normalized.begin(), normalized.end(), decimalSeparator, '.');
    return TBcd::TryParse(normalized, '.', value);
}

// Reads digits up to the next separator; false when there are none.
}  // namespace

TFilterTypeChecker::Kind TFilterTypeChecker::KindOf(TFieldType type) {
    if (IsTextType(type) || type == ftMemo || type == ftFmtMemo) {
        return Kind::Text;
    }
    if (IsNumericType(type) || type == ftBoolean) {
        return Kind::Number;
    }
    return IsDateTimeType(type) ? Kind::DateTime : Kind::Other;
}

std::unique_ptr<TFilterNode> TFilterTypeChecker::Constant(const std::string& text, bool isNumber) const {
    auto node = std::make_unique<TFilterNode>();
    node->Kind = TFilterNodeKind::Constant;
    node->Text = text;
    node->Type = isNumber ? ftFMTBcd : ftString;
    node->Value = text;
    if (isNumber) {
        TBcd number;
        node->Value = ParseNumber(text, decimalSeparator_, number) ? TVariant(number) : TVariant();
    }
    return node;
}

void TFilterTypeChecker::Unify(TFilterNode& left, TFilterNode& right) const {
    if (!left.IsValue() || !right.IsValue()) {
        TypeMismatch();
    }
    if (left.Kind == TFilterNodeKind::Field && right.Kind == TFilterNodeKind::Constant) {
        TakeFieldType(right, left);
    } else if (left.Kind == TFilterNodeKind::Constant && right.Kind == TFilterNodeKind::Field) {
        TakeFieldType(left, right);
    }
    Kind kind = KindOf(left.Type);
    if (kind == Kind::Other || kind != KindOf(right.Type)) {
        TypeMismatch();
    }
    for (const TFilterNode* side : {&left, &right}) {
        if (side->Kind == TFilterNodeKind::Constant && VarIsUnassigned(side->Value)) {
            TypeMismatch();
        }
    }
}

void TFilterTypeChecker::CheckLike(TFilterNode& value, TFilterNode& pattern) const {
    if (!value.IsValue() || !pattern.IsValue() || KindOf(value.Type) != Kind::Text ||
        KindOf(pattern.Type) != Kind::Text) {
        TypeMismatch();
    }
}

void TFilterTypeChecker::TakeFieldType(TFilterNode& constant, const TFilterNode& field) const {
    switch (KindOf(field.Type)) {
        case Kind::Text:
            constant.Value = TextValue(constant.Text, field.Size);
            break;
        case Kind::Number:
            constant.Value = NumberValue(constant.Text, field.Type);
            break;
        case Kind::DateTime:
            if (constant.Type != ftString) {
                TypeMismatch();
            }
            constant.Value = DateTimeValue(constant.Text, field.Type);
            break;
        case Kind::Other:
            TypeMismatch();
    }
    constant.Type = field.Type;
    constant.Size = field.Size;
}

// The constant is cut to the field's size in characters, unless the parser keeps long constants.
TVariant TFilterTypeChecker::TextValue(const std::string& text, int size) const {
    if (size <= 0 || keepLongConstants_ || CharacterCount(text) <= static_cast<std::size_t>(size)) {
        return text;
    }
    // A partial-compare constant keeps its "*" after the cut.
    bool partial = !noPartialCompare_ && !text.empty() && text.back() == '*';
    return std::string(LeftCharacters(text, static_cast<std::size_t>(size))) + (partial ? "*" : "");
}

TVariant TFilterTypeChecker::NumberValue(const std::string& text, TFieldType type) const {
    if (type == ftBoolean) {
        return BooleanValue(text);
    }
    TBcd number;
    if (!ParseNumber(text, decimalSeparator_, number)) {
        TypeMismatch();
    }
    if (type == ftFloat) {
        return number.ToDouble();
    }
    if (IsIntegerType(type)) {
        TBcd whole = number.Normalized(TBcd::kMaxPrecision, 0);
        bool fitsInteger = whole.UnscaledValue() >= std::numeric_limits<std::int64_t>::min() &&
                           whole.UnscaledValue() <= std::numeric_limits<std::int64_t>::max();
        if (whole == number && fitsInteger) {
            return static_cast<std::int64_t>(whole.UnscaledValue());
        }
    }
    return number;
}

TVariant TFilterTypeChecker::BooleanValue(const std::string& text) {
    if (SameText(text, "true")) {
        return true;
    }
    if (SameText(text, "false")) {
        return false;
    }
    TBcd number;
    if (!TBcd::TryParse(text, '.', number)) {
        TypeMismatch();
    }
    return !number.IsZero();
}

TVariant TFilterTypeChecker::DateTimeValue(const std::string& text, TFieldType type) {
    std::string trimmed = Trim(text);
    TDateTime date = 0;
    TDateTime time = 0;
    if (type == ftTime) {
        if (!TryParseTimeOfDay(trimmed, time)) {
            TypeMismatch();
        }
        return time;
    }
    size_t blank = trimmed.find(' ');
    std::string datePart = trimmed.substr(0, blank);
    std::string timePart = blank == std::string::npos ? std::string() : Trim(trimmed.substr(blank));
    bool timeAllowed = type != ftDate;
    if (!TryStrToDate(datePart, date) ||
        (!timePart.empty() && (!timeAllowed || !TryParseTimeOfDay(timePart, time)))) {
        TypeMismatch();
    }
    // Joined as the driver joins a day and a time, so an exact moment compares equal.
    return JoinDateTime(DateToDayNumber(date), TimeUnitsOfDay(time));
}

}  // namespace contado
