#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace contado {

// Small text helpers shared by every layer.
// Equal but for the case of letters, every letter folded (names of components and fields).
bool SameText(std::string_view a, std::string_view b);
// ASCII letters only, keeping every byte in its place: for keywords and option words.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Removes leading and trailing characters with codes 0 to 32.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
// Encloses text in the quote character, doubling every quote inside it.
std::string QuotedStr(std::string_view text, char quote = '\'');
std::vector<std::string> SplitText(std::string_view text, char separator);

// printf-like formatting of the system's message patterns ("%s", "%d").
std::string Format(std::string_view pattern, const std::vector<std::string>& args);
template <typename... Args>
std::string FormatMessage(std::string_view pattern, const Args&... args);

std::string ToText(const std::string& value);
std::string ToText(const char* value);
std::string ToText(std::int64_t value);
inline std::string ToText(int value) {
    return ToText(static_cast<std::int64_t>(value));
}

template <typename... Args>
std::string FormatMessage(std::string_view pattern, const Args&... args) {
    return Format(pattern, std::vector<std::string>{ToText(args)...});
}

}  // namespace contado
