#include "platform/services/settingsfile.h"

#include <array>

namespace contado {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kBeyondUnicode = 0x110000;
// The forms "@Name(...)" that encode a value of another type than text.
constexpr std::array<std::string_view, 7> kOtherTypes = {"ByteArray", "Variant", "Rect",   "Size",
                                                         "Point",     "DateTime", "Invalid"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

int DigitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code >= kBeyondUnicode || (code >= 0xD800 && code <= 0xDFFF)) {
        code = kReplacementCharacter;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character of the digits in base from text[i] on, appended to out; returns the index after them.
// A number beyond Unicode stays beyond it however many digits follow.
size_t AppendNumberedCharacter(std::string_view text, size_t i, int base, std::string& out) {
    char32_t code = 0;
    const size_t start = i;
    for (int digit = 0; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
        code = code >= kBeyondUnicode ? kBeyondUnicode : code * base + digit;
    }
    if (i > start) {
        AppendUtf8(code, out);
    }
    return i;
}

// The escape starting with the backslash at text[i], appended to out; returns the index after it.
size_t AppendEscape(std::string_view text, size_t i, std::string& out) {
    if (i + 1 >= text.size()) {
        return text.size();
    }
    const char escaped = text[i + 1];
    switch (escaped) {
        case 'a': out += '\a'; return i + 2;
        case 'b': out += '\b'; return i + 2;
        case 'f': out += '\f'; return i + 2;
        case 'n': out += '\n'; return i + 2;
        case 'r': out += '\r'; return i + 2;
        case 't': out += '\t'; return i + 2;
        case 'v': out += '\v'; return i + 2;
        case 'x': return AppendNumberedCharacter(text, i + 2, 16, out);
        default: break;
    }
    if (DigitValue(escaped, 8) >= 0) {
        return AppendNumberedCharacter(text, i + 1, 8, out);
    }
    out += escaped;
    return i + 2;
}

// The character or escape at text[i], appended to out; returns the index after it.
size_t AppendCharacter(std::string_view text, size_t i, std::string& out) {
    if (text[i] == '\\') {
        return AppendEscape(text, i, out);
    }
    out += text[i];
    return i + 1;
}

struct TUnquotedValue {
    std::string Text;
    bool IsList = false;
};

// The text a value line stands for, with its quotes and escapes resolved.
TUnquotedValue Unquoted(std::string_view raw) {
    TUnquotedValue value;
    std::string blanks;
    bool quoted = false;
    bool afterPlainCharacter = false;
    for (size_t i = 0; i < raw.size();) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            blanks.clear();
            afterPlainCharacter = false;
            ++i;
        } else if (quoted) {
            i = AppendCharacter(raw, i, value.Text);
        } else if (c == ';') {
            break;
        } else if (c == ',') {
            value.IsList = true;
            break;
        } else if (IsBlank(c)) {
            if (afterPlainCharacter) {
                blanks += c;
            }
            ++i;
        } else {
            value.Text += blanks;
            blanks.clear();
            i = AppendCharacter(raw, i, value.Text);
            afterPlainCharacter = true;
        }
    }
    return value;
}

// The typed reading of a value's text: "@@" and "@String(...)" are text, the other "@Name(...)"
// forms are not.
TSettingsValue Typed(TUnquotedValue value) {
    std::string& text = value.Text;
    if (value.IsList) {
        return {{}, false};
    }
    if (text.size() >= 2 && text[0] == '@' && text[1] == '@') {
        return {text.substr(1), true};
    }
    const size_t open = text.find('(');
    if (text.empty() || text[0] != '@' || text.back() != ')' || open == std::string::npos) {
        return {std::move(text), true};
    }
    const std::string_view name = std::string_view(text).substr(1, open - 1);
    if (name == "String") {
        return {text.substr(open + 1, text.size() - open - 2), true};
    }
    for (const std::string_view other : kOtherTypes) {
        if (name == other) {
            return {{}, false};
        }
    }
    return {std::move(text), true};
}

std::string PercentDecoded(std::string_view name) {
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i) {
        const int high = i + 2 < name.size() ? DigitValue(name[i + 1], 16) : -1;
        const int low = i + 2 < name.size() ? DigitValue(name[i + 2], 16) : -1;
        if (name[i] == '%' && high >= 0 && low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

// The next line from text[i] on, continuation lines joined; i moves past its end.
std::string NextLine(std::string_view text, size_t& i) {
    std::string line;
    while (i < text.size()) {
        const size_t end = text.find_first_of("\r\n", i);
        const std::string_view physical = text.substr(i, end == std::string_view::npos ? end : end - i);
        i = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && i < text.size() && text[i] == '\n') {
            ++i;
        }
        if (physical.empty() || physical.back() != '\\') {
            line += physical;
            break;
        }
        line += physical.substr(0, physical.size() - 1);
    }
    return line;
}

}  // namespace

TSettingsFile::TSettingsFile(std::string contents) : contents_(std::move(contents)) {
    if (std::string_view(contents_).starts_with(kByteOrderMark)) {
        contents_.erase(0, kByteOrderMark.size());
    }
}

std::optional<TSettingsValue> TSettingsFile::Value(std::string_view name) const {
    std::optional<std::string> raw;
    bool inGeneral = true;
    for (size_t i = 0; i < contents_.size();) {
        const std::string line = NextLine(contents_, i);
        const std::string_view entry = Trimmed(line);
        if (entry.empty() || entry.front() == ';' || entry.front() == '#') {
            continue;
        }
        if (entry.front() == '[') {
            const std::string_view section = entry.substr(1, entry.find(']') - 1);
            inGeneral = EqualsIgnoringAsciiCase(Trimmed(section), "General");
            continue;
        }
        const size_t equals = entry.find('=');
        if (inGeneral && equals != std::string_view::npos &&
            PercentDecoded(Trimmed(entry.substr(0, equals))) == name) {
            raw = std::string(entry.substr(equals + 1));
        }
    }
    if (!raw) {
        return std::nullopt;
    }
    return Typed(Unquoted(*raw));
}

}  // namespace contado
