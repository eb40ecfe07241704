#pragma once

#include <string_view>

#include "core/datetime.h"
#include "data/client/filternode.h"

namespace contado {

// Makes the operands of a filter comparison comparable: constants take the type and size (in
// characters) of the field they meet, fields must be of the same kind (text, number, date and time). Throws EDatabaseError
// "Type mismatch in expression" when that cannot be done.
class TFilterTypeChecker {
  public:
    enum class Kind { Text, Number, DateTime, Other };

    // keepLongConstants: a text constant longer than its field stays whole, so it matches no value
    // of the field instead of matching its own cut beginning.
    TFilterTypeChecker(char decimalSeparator, bool noPartialCompare, bool keepLongConstants = false)
        : decimalSeparator_(decimalSeparator),
          noPartialCompare_(noPartialCompare),
          keepLongConstants_(keepLongConstants) {}

    static Kind KindOf(TFieldType type);
    // A constant as the lexer gave it: a string, or a number token (typed ftFMTBcd).
    std::unique_ptr<TFilterNode> Constant(const std::string& text, bool isNumber) const;

    // Both sides of a comparison (or a list item against the tested value).
    void Unify(TFilterNode& left, TFilterNode& right) const;
    // The value and the pattern of LIKE: text on both sides.
    void CheckLike(TFilterNode& value, TFilterNode& pattern) const;

  private:
    void TakeFieldType(TFilterNode& constant, const TFilterNode& field) const;
    TVariant TextValue(const std::string& text, int size) const;
    TVariant NumberValue(const std::string& text, TFieldType type) const;
    static TVariant DateTimeValue(const std::string& text, TFieldType type);
    static TVariant BooleanValue(const std::string& text);

    char decimalSeparator_;
    bool noPartialCompare_;
    bool keepLongConstants_;
};

}  // namespace contado
