#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace contado {

// UTF-8 text by characters (code points). A byte that does not start a well-formed sequence counts as
// one character of its own and is kept as it is, so no text is ever cut inside a character and
// nothing is lost from text that is not valid UTF-8.

std::size_t CharacterCount(std::string_view text);
// The longest beginning of text holding at most count characters.
std::string_view LeftCharacters(std::string_view text, std::size_t count);

// Every letter folded to its caseless form (ICU simple case folding: "Ñ" and "ñ" fold alike).
std::string FoldedCase(std::string_view text);
// Orders two texts by code point, ignoring case when asked; -1, 0 or 1.
int CompareCharacters(std::string_view a, std::string_view b, bool ignoreCase);
// Whether text begins with prefix, ignoring case when asked.
bool StartsWithCharacters(std::string_view text, std::string_view prefix, bool ignoreCase);

}  // namespace contado
