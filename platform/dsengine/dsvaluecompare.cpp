#include "platform/dsengine/dsvaluecompare.h"

#include "core/utf8text.h"

namespace contado {

namespace {

template <typename T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool IsWildcard(char c) {
    return c == '*' || c == '%';
}

bool IsNumber(const TVariant& value) {
    return std::holds_alternative<std::int64_t>(value) || std::holds_alternative<double>(value) ||
           std::holds_alternative<TBcd>(value) || std::holds_alternative<bool>(value);
}

bool IsExact(const TVariant& value) {
    return !std::holds_alternative<double>(value);
}

TBcd AsBcd(const TVariant& value) {
    if (const auto* bcd = std::get_if<TBcd>(&value)) {
        return *bcd;
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return TBcd::FromInt64(*flag ? 1 : 0);
    }
    return TBcd::FromInt64(std::get<std::int64_t>(value));
}

double AsDouble(const TVariant& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return *number;
    }
    return AsBcd(value).ToDouble();
}

int CompareNumbers(const TVariant& a, const TVariant& b) {
    if (IsExact(a) && IsExact(b)) {
        return Compare(AsBcd(a), AsBcd(b));
    }
    return Order(AsDouble(a), AsDouble(b));
}

}  // namespace

int CompareText(std::string_view a, std::string_view b, bool caseInsensitive) {
    return CompareCharacters(a, b, caseInsensitive);
}

bool CompareValues(const TVariant& a, const TVariant& b, bool caseInsensitive, int& order) {
    if (a.index() == b.index()) {
        if (const auto* x = std::get_if<double>(&a)) {
            order = Order(*x, std::get<double>(b));
            return true;
        }
        if (const auto* x = std::get_if<std::int64_t>(&a)) {
            order = Order(*x, std::get<std::int64_t>(b));
            return true;
        }
        if (const auto* x = std::get_if<std::string>(&a)) {
            order = CompareText(*x, std::get<std::string>(b), caseInsensitive);
            return true;
        }
    }
    if (IsNumber(a) && IsNumber(b)) {
        order = CompareNumbers(a, b);
        return true;
    }
    return false;
}

bool MatchesLikePattern(std::string_view text, std::string_view pattern, bool caseInsensitive) {
    if (caseInsensitive) {
        return MatchesLikePattern(FoldedCase(text), FoldedCase(pattern), false);
    }
    // Greedy matching with backtracking to the last wildcard: linear in practice, never exponential.
    size_t t = 0;
    size_t p = 0;
    size_t starPattern = std::string_view::npos;
    size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && IsWildcard(pattern[p])) {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && IsWildcard(pattern[p])) {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace contado
