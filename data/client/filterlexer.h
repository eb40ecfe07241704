#pragma once

#include <string>
#include <string_view>

namespace contado {

enum class TFilterTokenKind {
    End,
    Name,
    String,
    Number,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
    LeftParen,
    RightParen,
    Comma,
    Like,
    In,
    Is,
    Null,
    Not,
    And,
    Or
};

struct TFilterToken {
    TFilterTokenKind Kind = TFilterTokenKind::End;
    std::string Text;  // a name without brackets, a string without quotes, or the text as written

    bool IsKeyword() const { return Kind >= TFilterTokenKind::Like; }
    // How messages name the token: the text in quotes, or "end of expression".
    std::string Description() const;
};

// Splits a filter text into tokens. Throws EDatabaseError for unterminated strings and bracketed
// names and for characters the language does not know.
class TFilterLexer {
  public:
    // Characters a string constant keeps.
    static constexpr size_t kMaxStringLength = 256;

    TFilterLexer(std::string_view text, char decimalSeparator);
    TFilterToken Next();

  private:
    char Peek(size_t ahead = 0) const {
        return position_ + ahead < text_.size() ? text_[position_ + ahead] : '\0';
    }
    bool AtEnd() const { return position_ >= text_.size(); }
    void SkipBlanksAndComments();
    TFilterToken ReadName();
    TFilterToken ReadBracketedName();
    TFilterToken ReadString();
    TFilterToken ReadNumber();
    TFilterToken ReadOperator();

    std::string_view text_;
    char decimalSeparator_;
    size_t position_ = 0;
};

}  // namespace contado
