#pragma once

#include <string_view>

#include "platform/dsengine/dsvalueview.h"

namespace contado {

// Orders two non-null values of comparable kinds: texts with texts, and numbers (integers, floats,
// decimals, dates as day counts, booleans) with numbers. Answers false when the kinds do not compare.
bool CompareValues(const TDSValueView& a, const TDSValueView& b, bool caseInsensitive, int& order);

// Text comparison, optionally ignoring the case of letters; negative, zero or positive.
int CompareText(std::string_view a, std::string_view b, bool caseInsensitive);

// LIKE matching: "*" and "%" stand for any run of characters, everything else for itself.
bool MatchesLikePattern(std::string_view text, std::string_view pattern, bool caseInsensitive);

}  // namespace contado
