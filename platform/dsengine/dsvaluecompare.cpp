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

// Exact numbers of the same scale order by their unscaled values; others as decimals.
int CompareExact(const TDSValueView& a, const TDSValueView& b) {
    const bool narrow =
        a.Kind() != TDSValueView::TKind::WideDecimal && b.Kind() != TDSValueView::TKind::WideDecimal;
    if (narrow && a.Scale() == b.Scale()) {
        return Order(a.Unscaled(), b.Unscaled());
    }
    return Compare(a.AsBcd(), b.AsBcd());
}

int CompareNumbers(const TDSValueView& a, const TDSValueView& b) {
    if (a.IsExact() && b.IsExact()) {
        return CompareExact(a, b);
    }
    return Order(a.AsDouble(), b.AsDouble());
}

}  // namespace

int CompareText(std::string_view a, std::string_view b, bool caseInsensitive) {
    return CompareCharacters(a, b, caseInsensitive);
}

bool CompareValues(const TDSValueView& a, const TDSValueView& b, bool caseInsensitive, int& order) {
    if (a.Kind() == b.Kind()) {
        switch (a.Kind()) {
            case TDSValueView::TKind::Float:
                order = Order(a.FloatValue(), b.FloatValue());
                return true;
            case TDSValueView::TKind::Integer:
                order = Order(a.IntegerValue(), b.IntegerValue());
                return true;
            case TDSValueView::TKind::Text:
                order = CompareText(a.TextValue(), b.TextValue(), caseInsensitive);
                return true;
            default:
                break;
        }
    }
    if (a.IsNumber() && b.IsNumber()) {
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
