#include "platform/dsengine/dsfilter.h"

#include <algorithm>

#include "core/utf8text.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/dsvaluecompare.h"

namespace contado {

namespace {

size_t OperandCount(TDSNodeKind kind) {
    switch (kind) {
        case TDSNodeKind::Constant:
        case TDSNodeKind::Column:
            return 0;
        case TDSNodeKind::Not:
        case TDSNodeKind::IsNull:
        case TDSNodeKind::IsNotNull:
            return 1;
        default:
            return 2;
    }
}

// IN (the value, then one or more items), AND and OR (two or more conditions).
bool HasOperandList(TDSNodeKind kind) {
    return kind == TDSNodeKind::In || kind == TDSNodeKind::And || kind == TDSNodeKind::Or;
}

bool Holds(TDSCompareOp op, int order) {
    switch (op) {
        case TDSCompareOp::Equal:
            return order == 0;
        case TDSCompareOp::NotEqual:
            return order != 0;
        case TDSCompareOp::Less:
            return order < 0;
        case TDSCompareOp::Greater:
            return order > 0;
        case TDSCompareOp::LessOrEqual:
            return order <= 0;
        case TDSCompareOp::GreaterOrEqual:
            return order >= 0;
    }
    return false;
}

bool IsNullValue(const TVariant& value) {
    return VarIsEmptyOrNull(value);
}

}  // namespace

bool TDSFilter::CheckNode(const TDSExprNode& node, int index, const std::vector<TDSExprNode>& nodes,
                          int columnCount) {
    if (node.Kind == TDSNodeKind::Column && (node.Column < 0 || node.Column >= columnCount)) {
        return false;
    }
    size_t expected = OperandCount(node.Kind);
    bool countOk = HasOperandList(node.Kind) ? node.Operands.size() >= 2 : node.Operands.size() == expected;
    if (!countOk) {
        return false;
    }
    bool operandsAreValues = node.Kind == TDSNodeKind::Compare || node.Kind == TDSNodeKind::Like ||
                             node.Kind == TDSNodeKind::In || node.Kind == TDSNodeKind::IsNull ||
                             node.Kind == TDSNodeKind::IsNotNull;
    for (int operand : node.Operands) {
        // Operands must be earlier nodes, which rules out cycles.
        if (operand < 0 || operand >= index) {
            return false;
        }
        if (IsValue(nodes[operand].Kind) != operandsAreValues) {
            return false;
        }
    }
    return true;
}

// Evaluation recurses once per level of the tree; a tree deeper than this is refused rather than
// risking the stack. Chains of AND and OR are one level however long they are.
bool TDSFilter::WithinDepth(const TDSExprNode& node, int index, std::vector<int>& depths) {
    for (int operand : node.Operands) {
        depths[index] = std::max(depths[index], depths[operand] + 1);
    }
    return depths[index] <= kMaxDepth;
}

int TDSFilter::Compile(const TDSExpression& expression, int columnCount, TDSFilter& filter) {
    const auto& source = expression.Nodes();
    int root = expression.Root();
    if (root < 0 || root >= static_cast<int>(source.size()) || IsValue(source[root].Kind)) {
        return dsstatus::kInvalidExpression;
    }
    TDSFilter compiled;
    compiled.caseInsensitive_ = expression.CaseInsensitive;
    compiled.noPartialCompare_ = expression.NoPartialCompare;
    std::vector<int> depths(source.size(), 1);
    for (int i = 0; i < static_cast<int>(source.size()); ++i) {
        if (!CheckNode(source[i], i, source, columnCount) || !WithinDepth(source[i], i, depths)) {
            return dsstatus::kInvalidExpression;
        }
        Node node{source[i].Kind, source[i].Op, source[i].Column, source[i].Value, source[i].Operands, false};
        compiled.nodes_.push_back(std::move(node));
    }
    for (Node& node : compiled.nodes_) {
        compiled.MarkPrefixMatch(node);
    }
    compiled.CollectColumns();
    compiled.root_ = root;
    filter = std::move(compiled);
    return dsstatus::kOk;
}

void TDSFilter::CollectColumns() {
    for (const Node& node : nodes_) {
        if (node.kind == TDSNodeKind::Column) {
            columns_.push_back(node.column);
        }
    }
    std::sort(columns_.begin(), columns_.end());
    columns_.erase(std::unique(columns_.begin(), columns_.end()), columns_.end());
}

void TDSFilter::MarkPrefixMatch(Node& node) const {
    if (noPartialCompare_ || node.kind != TDSNodeKind::Compare ||
        (node.op != TDSCompareOp::Equal && node.op != TDSCompareOp::NotEqual)) {
        return;
    }
    const Node& right = nodes_[node.operands[1]];
    const auto* text = std::get_if<std::string>(&right.value);
    if (right.kind == TDSNodeKind::Constant && text != nullptr && !text->empty() && text->back() == '*') {
        node.prefixMatch = true;
    }
}

const TVariant& TDSFilter::ValueOf(int node, const TVariant* row) const {
    const Node& item = nodes_[node];
    return item.kind == TDSNodeKind::Column ? row[item.column] : item.value;
}

TDSFilter::Truth TDSFilter::Evaluate(int node, const TVariant* row) const {
    const Node& item = nodes_[node];
    switch (item.kind) {
        case TDSNodeKind::Compare:
            return EvaluateCompare(item, row);
        case TDSNodeKind::Like:
            return EvaluateLike(item, row);
        case TDSNodeKind::In:
            return EvaluateIn(item, row);
        case TDSNodeKind::IsNull:
            return IsNullValue(ValueOf(item.operands[0], row)) ? Truth::True : Truth::False;
        case TDSNodeKind::IsNotNull:
            return IsNullValue(ValueOf(item.operands[0], row)) ? Truth::False : Truth::True;
        case TDSNodeKind::Not: {
            Truth inner = Evaluate(item.operands[0], row);
            return inner == Truth::Unknown ? inner : (inner == Truth::True ? Truth::False : Truth::True);
        }
        case TDSNodeKind::And:
            return EvaluateJunction(item, row, Truth::False);
        case TDSNodeKind::Or:
            return EvaluateJunction(item, row, Truth::True);
        default:
            return Truth::Unknown;
    }
}

// AND (decisive False) and OR (decisive True) over any number of operands, in a loop, so a chain of
// any length needs no deeper stack. Unknown wins over the other value, as in SQL.
TDSFilter::Truth TDSFilter::EvaluateJunction(const Node& node, const TVariant* row, Truth decisive) const {
    Truth result = decisive == Truth::False ? Truth::True : Truth::False;
    for (int operand : node.operands) {
        const Truth truth = Evaluate(operand, row);
        if (truth == decisive) {
            return truth;
        }
        if (truth == Truth::Unknown) {
            result = Truth::Unknown;
        }
    }
    return result;
}

TDSFilter::Truth TDSFilter::EvaluateCompare(const Node& node, const TVariant* row) const {
    const TVariant& left = ValueOf(node.operands[0], row);
    const TVariant& right = ValueOf(node.operands[1], row);
    if (IsNullValue(left) || IsNullValue(right)) {
        return Truth::Unknown;
    }
    int order = 0;
    if (node.prefixMatch) {
        const auto* text = std::get_if<std::string>(&left);
        if (text == nullptr) {
            return Truth::Unknown;
        }
        std::string_view prefix = std::get<std::string>(right);
        prefix.remove_suffix(1);
        order = StartsWithCharacters(*text, prefix, caseInsensitive_) ? 0 : 1;
    } else if (!CompareValues(left, right, caseInsensitive_, order)) {
        return Truth::Unknown;
    }
    return Holds(node.op, order) ? Truth::True : Truth::False;
}

TDSFilter::Truth TDSFilter::EvaluateLike(const Node& node, const TVariant* row) const {
    const auto* text = std::get_if<std::string>(&ValueOf(node.operands[0], row));
    const auto* pattern = std::get_if<std::string>(&ValueOf(node.operands[1], row));
    if (text == nullptr || pattern == nullptr) {
        return Truth::Unknown;
    }
    return MatchesLikePattern(*text, *pattern, caseInsensitive_) ? Truth::True : Truth::False;
}

TDSFilter::Truth TDSFilter::EvaluateIn(const Node& node, const TVariant* row) const {
    const TVariant& value = ValueOf(node.operands[0], row);
    if (IsNullValue(value)) {
        return Truth::Unknown;
    }
    for (size_t i = 1; i < node.operands.size(); ++i) {
        int order = 0;
        if (CompareValues(value, ValueOf(node.operands[i], row), caseInsensitive_, order) && order == 0) {
            return Truth::True;
        }
    }
    return Truth::False;
}

}  // namespace contado
