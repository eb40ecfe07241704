#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/client/filterlexer.h"
#include "data/client/filternode.h"
#include "data/client/filtertypechecker.h"

namespace contado {

// What the parser needs to know of a field named in a filter.
struct TFilterField {
    TFieldType Type = ftUnknown;
    int Size = 0;
    int Column = -1;
};

// Answers the field of that name, or nothing when the table has none.
using TFilterFieldLookup = std::function<std::optional<TFilterField>(const std::string& name)>;

struct TFilterParseOptions {
    bool CaseInsensitive = false;
    bool NoPartialCompare = false;
    // Text constants longer than their field stay whole instead of being cut to its size.
    bool KeepLongConstants = false;
};

// Parses a filter text into a typed expression tree. A constant compared with a field takes the field's
// type and size in characters; a text compared with a date or time field is read in the system's date and time
// formats. Failures throw EDatabaseError with the language's messages.
class TFilterParser {
  public:
    // The table name prefixes the message for unknown fields.
    TFilterParser(TFilterFieldLookup lookup, std::string tableName, TFilterParseOptions options = {});

    std::unique_ptr<TFilterNode> Parse(std::string_view text);

    // The tree in the engine's expression format.
    static TDSExpression Compile(const TFilterNode& root, TFilterParseOptions options);
    // Parse and Compile in one step.
    TDSExpression ParseToExpression(std::string_view text);

  private:
    using NodePtr = std::unique_ptr<TFilterNode>;

    void Advance();
    bool Accept(TFilterTokenKind kind);
    NodePtr ParseOr();
    NodePtr ParseAnd();
    NodePtr ParseJunction(TFilterNodeKind kind, TFilterTokenKind separator, NodePtr (TFilterParser::*parseOperand)());
    NodePtr ParseNot();
    NodePtr ParsePredicate();
    NodePtr ParseOperand();
    NodePtr ParseComparison(NodePtr left, TDSCompareOp op);
    NodePtr ParseIsNull(NodePtr operand);
    NodePtr ParseLike(NodePtr operand);
    NodePtr ParseIn(NodePtr operand);
    TFilterTypeChecker Checker() const;
    NodePtr FieldNode(const std::string& name) const;
    NodePtr Negated(NodePtr node, bool negate) const;
    void Expect(TFilterTokenKind kind, const char* message);
    // Guards the recursion of nested parentheses and NOT against texts nested too deeply.
    void Nest();

    TFilterFieldLookup lookup_;
    std::string tableName_;
    TFilterParseOptions options_;
    std::unique_ptr<TFilterLexer> lexer_;
    TFilterToken token_;
    int depth_ = 0;
};

}  // namespace contado
