#pragma once

#include <string>
#include <vector>

#include "core/fieldtype.h"
#include "platform/dsengine/dsexpression.h"

namespace contado {

// A filter expression checked against a table's columns, ready to be evaluated on rows.
// Comparisons with a null value are unknown; a row passes only when the whole expression is true.
class TDSFilter {
  public:
    // Answers dsstatus::kInvalidExpression when the tree is malformed (bad operand counts or
    // indexes, operands that are not earlier nodes, columns out of range, a boolean used as a value,
    // a tree nested deeper than evaluation can safely recurse).
    static int Compile(const TDSExpression& expression, int columnCount, TDSFilter& filter);

    // The row's values, one per column; only the ones of Columns() are read.
    bool Matches(const TVariant* row) const { return Evaluate(root_, row) == Truth::True; }
    // The columns the expression reads, each once, in ascending order.
    const std::vector<int>& Columns() const { return columns_; }

  private:
    enum class Truth { False, True, Unknown };

    struct Node {
        TDSNodeKind kind = TDSNodeKind::Constant;
        TDSCompareOp op = TDSCompareOp::Equal;
        int column = -1;
        TVariant value;
        std::vector<int> operands;
        // Compare with a text constant ending in "*": match by the text before it.
        bool prefixMatch = false;
    };

    static bool IsValue(TDSNodeKind kind) {
        return kind == TDSNodeKind::Constant || kind == TDSNodeKind::Column;
    }
    static bool CheckNode(const TDSExprNode& node, int index, const std::vector<TDSExprNode>& nodes,
                          int columnCount);
    static bool WithinDepth(const TDSExprNode& node, int index, std::vector<int>& depths);
    static constexpr int kMaxDepth = 4096;
    void MarkPrefixMatch(Node& node) const;
    void CollectColumns();

    const TVariant& ValueOf(int node, const TVariant* row) const;
    Truth Evaluate(int node, const TVariant* row) const;
    Truth EvaluateJunction(const Node& node, const TVariant* row, Truth decisive) const;
    Truth EvaluateCompare(const Node& node, const TVariant* row) const;
    Truth EvaluateLike(const Node& node, const TVariant* row) const;
    Truth EvaluateIn(const Node& node, const TVariant* row) const;

    std::vector<Node> nodes_;
    int root_ = -1;
    std::vector<int> columns_;
    bool caseInsensitive_ = false;
    bool noPartialCompare_ = false;
};

}  // namespace contado
