#include "core/formatfloat.h"

#include <vector>

#include "core/textutil.h"

namespace contado {

namespace {

struct TNumberPattern {
    std::string prefix;
    std::string suffix;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Splits at ";" outside quotes.
std::vector<std::string> Sections(std::string_view format) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

TNumberPattern ParsePattern(std::string_view section) {
    TNumberPattern pattern;
    bool inDigits = false;
    bool afterDigits = false;
    bool inFraction = false;
    char quote = 0;
    for (char c : section) {
        std::string& literal =
            afterDigits || (inDigits && !IsPlaceholder(c)) ? pattern.suffix : pattern.prefix;
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                literal += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            afterDigits = afterDigits || inDigits;
        } else if (IsPlaceholder(c) && !afterDigits) {
            inDigits = true;
            if (inFraction) {
                ++pattern.maxDecimals;
                pattern.minDecimals = c == '0' ? pattern.maxDecimals : pattern.minDecimals;
            } else if (c == '0') {
                ++pattern.minIntegerDigits;
            }
        } else if (c == '.' && !afterDigits && !inFraction) {
            inFraction = true;
            inDigits = true;
        } else if (c == ',' && !afterDigits) {
            pattern.grouping = true;
        } else {
            afterDigits = afterDigits || inDigits;
            (afterDigits ? pattern.suffix : pattern.prefix) += c;
        }
    }
    return pattern;
}

std::string Grouped(const std::string& digits, char separator) {
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            result += separator;
        }
        result += digits[i];
    }
    return result;
}

std::string Apply(const TNumberPattern& pattern, const TBcd& magnitude, char decimalSeparator) {
    const TBcd rounded = magnitude.Normalized(TBcd::kMaxPrecision, pattern.maxDecimals);
    const std::string plain = rounded.ToString('.');
    const size_t point = plain.find('.');
    std::string whole = plain.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : plain.substr(point + 1);
    if (whole == "0" && pattern.minIntegerDigits == 0) {
        whole.clear();
    }
    while (static_cast<int>(whole.size()) < pattern.minIntegerDigits) {
        whole.insert(whole.begin(), '0');
    }
    while (static_cast<int>(fraction.size()) < pattern.minDecimals) {
        fraction += '0';
    }
    const char thousands = decimalSeparator == '.' ? ',' : '.';
    std::string text = pattern.prefix + (pattern.grouping ? Grouped(whole, thousands) : whole);
    if (!fraction.empty()) {
        text += decimalSeparator + fraction;
    }
    return text + pattern.suffix;
}

}  // namespace

std::string FormatFloat(std::string_view format, const TBcd& value, char decimalSeparator) {
    const std::vector<std::string> sections = Sections(format);
    const TBcd magnitude =
        value.IsNegative() ? TBcd::FromUnscaled(-value.UnscaledValue(), value.Scale()) : value;
    if (value.IsZero() && sections.size() >= 3 && !sections[2].empty()) {
        return Apply(ParsePattern(sections[2]), magnitude, decimalSeparator);
    }
    if (value.IsNegative() && sections.size() >= 2 && !sections[1].empty()) {
        return Apply(ParsePattern(sections[1]), magnitude, decimalSeparator);
    }
    const std::string text = Apply(ParsePattern(sections[0]), magnitude, decimalSeparator);
    const bool showsDigits = text.find_first_of("123456789") != std::string::npos;
    return value.IsNegative() && showsDigits ? "-" + text : text;
}

}  // namespace contado
