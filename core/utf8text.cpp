#include "core/utf8text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace contado {

namespace {

bool IsAscii(unsigned char byte) {
    return byte < 0x80;
}

unsigned char AsciiFolded(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Walks a text one character at a time. An ill-formed byte comes out as its negative value, so it
// never equals a real character and two different bad bytes stay different.
class CharacterReader {
  public:
    explicit CharacterReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return position_ >= text_.size(); }
    std::size_t Position() const { return position_; }

    UChar32 Next() {
        const auto* bytes = reinterpret_cast<const uint8_t*>(text_.data());
        const auto first = bytes[position_];
        if (IsAscii(first)) {
            ++position_;
            return first;
        }
        const std::size_t start = position_;
        UChar32 c = 0;
        int32_t index = static_cast<int32_t>(position_);
        U8_NEXT(bytes, index, static_cast<int32_t>(text_.size()), c);
        if (c < 0) {
            position_ = start + 1;
            return -static_cast<UChar32>(first);
        }
        position_ = static_cast<std::size_t>(index);
        return c;
    }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

UChar32 Folded(UChar32 c, bool ignoreCase) {
    if (!ignoreCase || c < 0) {
        return c;
    }
    return c < 0x80 ? AsciiFolded(static_cast<unsigned char>(c)) : u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

void Append(std::string& out, UChar32 c) {
    if (c < 0) {
        out += static_cast<char>(-c);
        return;
    }
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, c);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
    CharacterReader reader(text);
    std::size_t count = 0;
    while (!reader.AtEnd()) {
        reader.Next();
        ++count;
    }
    return count;
}

std::string_view LeftCharacters(std::string_view text, std::size_t count) {
    CharacterReader reader(text);
    for (std::size_t i = 0; i < count && !reader.AtEnd(); ++i) {
        reader.Next();
    }
    return text.substr(0, reader.Position());
}

std::string FoldedCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    CharacterReader reader(text);
    while (!reader.AtEnd()) {
        Append(out, Folded(reader.Next(), true));
    }
    return out;
}

int CompareCharacters(std::string_view a, std::string_view b, bool ignoreCase) {
    if (!ignoreCase) {
        // Byte order of UTF-8 is code point order.
        const int order = a.compare(b);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    CharacterReader left(a);
    CharacterReader right(b);
    while (!left.AtEnd() && !right.AtEnd()) {
        const UChar32 x = Folded(left.Next(), ignoreCase);
        const UChar32 y = Folded(right.Next(), ignoreCase);
        if (x != y) {
            // A bad byte sorts by its byte value, before the character of the same number.
            const auto key = [](UChar32 c) { return c < 0 ? -c : c; };
            return key(x) < key(y) || (key(x) == key(y) && x < y) ? -1 : 1;
        }
    }
    return left.AtEnd() ? (right.AtEnd() ? 0 : -1) : 1;
}

bool StartsWithCharacters(std::string_view text, std::string_view prefix, bool ignoreCase) {
    CharacterReader reader(text);
    CharacterReader wanted(prefix);
    while (!wanted.AtEnd()) {
        if (reader.AtEnd() || Folded(reader.Next(), ignoreCase) != Folded(wanted.Next(), ignoreCase)) {
            return false;
        }
    }
    return true;
}

}  // namespace contado
