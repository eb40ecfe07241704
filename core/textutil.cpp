#include "core/textutil.h"

#include "core/utf8text.h"

namespace contado {

namespace {
// ASCII only, whatever the process locale: a byte of a UTF-8 sequence is never changed.
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
}  // namespace

bool SameText(std::string_view a, std::string_view b) {
    return CompareCharacters(a, b, true) == 0;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = Upper(c);
    }
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = Lower(c);
    }
    return result;
}

std::string TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlankOrControl(text[start])) {
        ++start;
    }
    return std::string(text.substr(start));
}

std::string Trim(std::string_view text) {
    std::string result = TrimLeft(text);
    while (!result.empty() && IsBlankOrControl(result.back())) {
        result.pop_back();
    }
    return result;
}

std::string QuotedStr(std::string_view text, char quote) {
    std::string result(1, quote);
    for (char c : text) {
        result += c;
        if (c == quote) {
            result += c;
        }
    }
    result += quote;
    return result;
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string Format(std::string_view pattern, const std::vector<std::string>& args) {
    std::string result;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            char kind = pattern[i + 1];
            if (kind == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (kind == 's' || kind == 'd') {
                if (next < args.size()) {
                    result += args[next++];
                }
                ++i;
                continue;
            }
        }
        result += pattern[i];
    }
    return result;
}

std::string ToText(const std::string& value) {
    return value;
}
std::string ToText(const char* value) {
    return value;
}
std::string ToText(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace contado
