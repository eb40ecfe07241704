#include "data/client/filterlexer.h"

#include <array>
#include <cctype>
#include <utility>

#include "core/exceptions.h"
#include "core/textutil.h"
#include "core/utf8text.h"

namespace contado {

namespace {

bool IsNameStart(char c) {
    auto code = static_cast<unsigned char>(c);
    return std::isalpha(code) || c == '_' || code > 127;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

TFilterTokenKind NameKind(const std::string& name) {
    static const std::array<std::pair<const char*, TFilterTokenKind>, 7> keywords = {
        {{"LIKE", TFilterTokenKind::Like},
         {"IN", TFilterTokenKind::In},
         {"IS", TFilterTokenKind::Is},
         {"NULL", TFilterTokenKind::Null},
         {"NOT", TFilterTokenKind::Not},
         {"AND", TFilterTokenKind::And},
         {"OR", TFilterTokenKind::Or}}};
    for (const auto& [word, kind] : keywords) {
        if (SameText(name, word)) {
            return kind;
        }
    }
    return TFilterTokenKind::Name;
}

}  // namespace

std::string TFilterToken::Description() const {
    return Kind == TFilterTokenKind::End ? "end of expression" : QuotedStr(Text);
}

TFilterLexer::TFilterLexer(std::string_view text, char decimalSeparator)
    : text_(text), decimalSeparator_(decimalSeparator) {}

void TFilterLexer::SkipBlanksAndComments() {
    while (!AtEnd()) {
        if (static_cast<unsigned char>(Peek()) <= ' ') {
            ++position_;
        } else if (Peek() == '/' && Peek(1) == '*') {
            size_t close = text_.find("*/", position_ + 2);
            position_ = close == std::string_view::npos ? text_.size() : close + 2;
        } else {
            return;
        }
    }
}

TFilterToken TFilterLexer::Next() {
    SkipBlanksAndComments();
    if (AtEnd()) {
        return TFilterToken{};
    }
    char c = Peek();
    if (IsNameStart(c)) {
        return ReadName();
    }
    if (c == '[') {
        return ReadBracketedName();
    }
    if (c == '\'') {
        return ReadString();
    }
    if (c == '-' || IsDigit(c)) {
        return ReadNumber();
    }
    return ReadOperator();
}

TFilterToken TFilterLexer::ReadName() {
    size_t start = position_;
    while (!AtEnd() && IsNameChar(Peek())) {
        ++position_;
    }
    std::string name(text_.substr(start, position_ - start));
    return TFilterToken{NameKind(name), name};
}

TFilterToken TFilterLexer::ReadBracketedName() {
    size_t close = text_.find(']', position_ + 1);
    if (close == std::string_view::npos) {
        throw EDatabaseError("Unterminated field name");
    }
    std::string name(text_.substr(position_ + 1, close - position_ - 1));
    position_ = close + 1;
    return TFilterToken{TFilterTokenKind::Name, name};
}

TFilterToken TFilterLexer::ReadString() {
    std::string value;
    ++position_;
    while (true) {
        if (AtEnd()) {
            throw EDatabaseError("Unterminated string constant");
        }
        char c = Peek();
        ++position_;
        if (c == '\'') {
            if (Peek() != '\'') {
                break;
            }
            ++position_;
        }
        value += c;
    }
    // The constant keeps its first characters, never half of one.
    return TFilterToken{TFilterTokenKind::String, std::string(LeftCharacters(value, kMaxStringLength))};
}

TFilterToken TFilterLexer::ReadNumber() {
    size_t start = position_++;
    while (!AtEnd() && (IsDigit(Peek()) || Peek() == '.' || Peek() == decimalSeparator_)) {
        ++position_;
    }
    return TFilterToken{TFilterTokenKind::Number, std::string(text_.substr(start, position_ - start))};
}

TFilterToken TFilterLexer::ReadOperator() {
    char c = Peek();
    char next = Peek(1);
    auto take = [this](TFilterTokenKind kind, size_t length) {
        TFilterToken token{kind, std::string(text_.substr(position_, length))};
        position_ += length;
        return token;
    };
    switch (c) {
        case '=':
            return take(TFilterTokenKind::Equal, 1);
        case '<':
            if (next == '>') {
                return take(TFilterTokenKind::NotEqual, 2);
            }
            return next == '=' ? take(TFilterTokenKind::LessOrEqual, 2) : take(TFilterTokenKind::Less, 1);
        case '>':
            return next == '=' ? take(TFilterTokenKind::GreaterOrEqual, 2)
                               : take(TFilterTokenKind::Greater, 1);
        case '(':
            return take(TFilterTokenKind::LeftParen, 1);
        case ')':
            return take(TFilterTokenKind::RightParen, 1);
        case ',':
            return take(TFilterTokenKind::Comma, 1);
        default:
            throw EDatabaseError(
                FormatMessage("Invalid filter expression character: '%s'", std::string(1, c)));
    }
}

}  // namespace contado
