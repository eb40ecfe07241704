#include "data/client/filterparser.h"

#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

namespace {

using Kind = TFilterTokenKind;
constexpr int kMaxNesting = 200;

bool ComparisonOp(Kind kind, TDSCompareOp& op) {
    switch (kind) {
        case Kind::Equal:
            op = TDSCompareOp::Equal;
            return true;
        case Kind::NotEqual:
            op = TDSCompareOp::NotEqual;
            return true;
        case Kind::Less:
            op = TDSCompareOp::Less;
            return true;
        case Kind::Greater:
            op = TDSCompareOp::Greater;
            return true;
        case Kind::LessOrEqual:
            op = TDSCompareOp::LessOrEqual;
            return true;
        case Kind::GreaterOrEqual:
            op = TDSCompareOp::GreaterOrEqual;
            return true;
        default:
            return false;
    }
}

std::unique_ptr<TFilterNode> MakeNode(TFilterNodeKind kind, std::unique_ptr<TFilterNode> first,
                                      std::unique_ptr<TFilterNode> second = nullptr) {
    auto node = std::make_unique<TFilterNode>();
    node->Kind = kind;
    node->Operands.push_back(std::move(first));
    if (second) {
        node->Operands.push_back(std::move(second));
    }
    return node;
}

void RequireCondition(const TFilterNode& node) {
    if (node.IsValue()) {
        throw EDatabaseError("Type mismatch in expression");
    }
}

[[noreturn]] void Misplaced(const TFilterToken& token) {
    throw EDatabaseError(token.IsKeyword() ? "Invalid use of keyword"
                                           : "Filter expression incorrectly terminated");
}

int CompileNode(const TFilterNode& node, TDSExpression& expression) {
    std::vector<int> operands;
    for (const auto& operand : node.Operands) {
        operands.push_back(CompileNode(*operand, expression));
    }
    switch (node.Kind) {
        case TFilterNodeKind::Field:
            return expression.AddColumn(node.Column);
        case TFilterNodeKind::Constant:
            return expression.AddConstant(node.Value);
        case TFilterNodeKind::Compare:
            return expression.AddCompare(node.Op, operands[0], operands[1]);
        case TFilterNodeKind::And:
            return expression.AddJunction(TDSNodeKind::And, std::move(operands));
        case TFilterNodeKind::Or:
            return expression.AddJunction(TDSNodeKind::Or, std::move(operands));
        case TFilterNodeKind::Like:
            return expression.AddBinary(TDSNodeKind::Like, operands[0], operands[1]);
        case TFilterNodeKind::Not:
            return expression.AddUnary(TDSNodeKind::Not, operands[0]);
        case TFilterNodeKind::IsNull:
            return expression.AddUnary(TDSNodeKind::IsNull, operands[0]);
        case TFilterNodeKind::IsNotNull:
            return expression.AddUnary(TDSNodeKind::IsNotNull, operands[0]);
        case TFilterNodeKind::In:
            return expression.AddIn(operands[0], std::vector<int>(operands.begin() + 1, operands.end()));
    }
    return -1;
}

}  // namespace

TFilterParser::TFilterParser(TFilterFieldLookup lookup, std::string tableName, TFilterParseOptions options)
    : lookup_(std::move(lookup)), tableName_(std::move(tableName)), options_(options) {}

void TFilterParser::Advance() {
    token_ = lexer_->Next();
}

bool TFilterParser::Accept(TFilterTokenKind kind) {
    if (token_.Kind != kind) {
        return false;
    }
    Advance();
    return true;
}

void TFilterParser::Expect(TFilterTokenKind kind, const char* message) {
    if (!Accept(kind)) {
        throw EDatabaseError(FormatMessage(message, token_.Description()));
    }
}

void TFilterParser::Nest() {
    if (++depth_ > kMaxNesting) {
        throw EDatabaseError("Filter expression nested too deeply");
    }
}

std::unique_ptr<TFilterNode> TFilterParser::Parse(std::string_view text) {
    lexer_ = std::make_unique<TFilterLexer>(text, FormatSettings().DecimalSeparator);
    depth_ = 0;
    Advance();
    NodePtr root = ParseOr();
    if (token_.Kind != Kind::End) {
        throw EDatabaseError("Filter expression incorrectly terminated");
    }
    RequireCondition(*root);
    return root;
}

TFilterParser::NodePtr TFilterParser::ParseOr() {
    return ParseJunction(TFilterNodeKind::Or, Kind::Or, &TFilterParser::ParseAnd);
}

TFilterParser::NodePtr TFilterParser::ParseAnd() {
    return ParseJunction(TFilterNodeKind::And, Kind::And, &TFilterParser::ParseNot);
}

// A chain "a AND b AND c ..." becomes one node with every condition as an operand, so chains of
// any length keep the tree, its compilation and its evaluation shallow.
TFilterParser::NodePtr TFilterParser::ParseJunction(TFilterNodeKind kind, TFilterTokenKind separator,
                                                    NodePtr (TFilterParser::*parseOperand)()) {
    NodePtr first = (this->*parseOperand)();
    if (token_.Kind != separator) {
        return first;
    }
    RequireCondition(*first);
    auto junction = std::make_unique<TFilterNode>();
    junction->Kind = kind;
    junction->Operands.push_back(std::move(first));
    while (Accept(separator)) {
        NodePtr next = (this->*parseOperand)();
        RequireCondition(*next);
        junction->Operands.push_back(std::move(next));
    }
    return junction;
}

TFilterParser::NodePtr TFilterParser::ParseNot() {
    if (!Accept(Kind::Not)) {
        return ParsePredicate();
    }
    Nest();
    NodePtr operand = ParseNot();
    --depth_;
    RequireCondition(*operand);
    return MakeNode(TFilterNodeKind::Not, std::move(operand));
}

TFilterParser::NodePtr TFilterParser::ParsePredicate() {
    NodePtr operand = ParseOperand();
    TDSCompareOp op = TDSCompareOp::Equal;
    if (ComparisonOp(token_.Kind, op)) {
        Advance();
        return ParseComparison(std::move(operand), op);
    }
    if (Accept(Kind::Is)) {
        return ParseIsNull(std::move(operand));
    }
    bool negate = Accept(Kind::Not);
    if (Accept(Kind::Like)) {
        return Negated(ParseLike(std::move(operand)), negate);
    }
    if (Accept(Kind::In)) {
        return Negated(ParseIn(std::move(operand)), negate);
    }
    if (negate) {
        throw EDatabaseError("Invalid use of keyword");
    }
    return operand;
}

TFilterParser::NodePtr TFilterParser::ParseOperand() {
    TFilterToken token = token_;
    switch (token.Kind) {
        case Kind::Name:
            Advance();
            return FieldNode(token.Text);
        case Kind::String:
        case Kind::Number: {
            Advance();
            TFilterTypeChecker checker = Checker();
            return checker.Constant(token.Text, token.Kind == Kind::Number);
        }
        case Kind::LeftParen: {
            Advance();
            Nest();
            NodePtr inner = ParseOr();
            --depth_;
            Expect(Kind::RightParen, "')' expected but %s found");
            return inner;
        }
        default:
            Misplaced(token);
    }
}

TFilterParser::NodePtr TFilterParser::ParseComparison(NodePtr left, TDSCompareOp op) {
    NodePtr right = ParseOperand();
    Checker().Unify(*left, *right);
    NodePtr node = MakeNode(TFilterNodeKind::Compare, std::move(left), std::move(right));
    node->Op = op;
    return node;
}

TFilterParser::NodePtr TFilterParser::ParseIsNull(NodePtr operand) {
    bool negate = Accept(Kind::Not);
    if (!Accept(Kind::Null)) {
        throw EDatabaseError("Invalid use of keyword");
    }
    if (!operand->IsValue()) {
        throw EDatabaseError("Type mismatch in expression");
    }
    return MakeNode(negate ? TFilterNodeKind::IsNotNull : TFilterNodeKind::IsNull, std::move(operand));
}

TFilterParser::NodePtr TFilterParser::ParseLike(NodePtr operand) {
    NodePtr pattern = ParseOperand();
    Checker().CheckLike(*operand, *pattern);
    return MakeNode(TFilterNodeKind::Like, std::move(operand), std::move(pattern));
}

TFilterParser::NodePtr TFilterParser::ParseIn(NodePtr operand) {
    Expect(Kind::LeftParen, "'(' expected but %s found");
    if (token_.Kind == Kind::RightParen) {
        throw EDatabaseError("IN predicate list may not be empty");
    }
    TFilterTypeChecker checker = Checker();
    NodePtr node = MakeNode(TFilterNodeKind::In, std::move(operand));
    do {
        NodePtr item = ParseOperand();
        checker.Unify(*node->Operands.front(), *item);
        node->Operands.push_back(std::move(item));
    } while (Accept(Kind::Comma));
    Expect(Kind::RightParen, "')' expected but %s found");
    return node;
}

TFilterTypeChecker TFilterParser::Checker() const {
    return TFilterTypeChecker(FormatSettings().DecimalSeparator, options_.NoPartialCompare,
                              options_.KeepLongConstants);
}

TFilterParser::NodePtr TFilterParser::FieldNode(const std::string& name) const {
    std::optional<TFilterField> field = lookup_ ? lookup_(name) : std::nullopt;
    if (!field) {
        throw EDatabaseError(PrefixedMessage(tableName_, FormatMessage("Field '%s' not found", name)));
    }
    auto node = std::make_unique<TFilterNode>();
    node->Kind = TFilterNodeKind::Field;
    node->Name = name;
    node->Type = field->Type;
    node->Size = field->Size;
    node->Column = field->Column;
    return node;
}

TFilterParser::NodePtr TFilterParser::Negated(NodePtr node, bool negate) const {
    return negate ? MakeNode(TFilterNodeKind::Not, std::move(node)) : std::move(node);
}

TDSExpression TFilterParser::Compile(const TFilterNode& root, TFilterParseOptions options) {
    TDSExpression expression;
    expression.CaseInsensitive = options.CaseInsensitive;
    expression.NoPartialCompare = options.NoPartialCompare;
    expression.SetRoot(CompileNode(root, expression));
    return expression;
}

TDSExpression TFilterParser::ParseToExpression(std::string_view text) {
    return Compile(*Parse(text), options_);
}

}  // namespace contado
