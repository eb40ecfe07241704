#pragma once

#include <optional>
#include <vector>

#include "platform/dsengine/dsexpression.h"
#include "platform/dsengine/dsrowstore.h"
#include "platform/dsengine/dsvalueview.h"

namespace contado {

// A filter expression checked against a table's columns, ready to be evaluated on rows.
// Comparisons with a null value are unknown; a row passes only when the whole expression is true.
// Rows are read in their records, and a column compared with a constant finds the constant already
// in the form of the column's slot.
class TDSFilter {
  public:
    // Answers dsstatus::kInvalidExpression when the tree is malformed (bad operand counts or
    // indexes, operands that are not earlier nodes, columns out of range, a boolean used as a value,
    // a tree nested deeper than evaluation can safely recurse).
    static int Compile(const TDSExpression& expression, const TDSRecordLayout& layout, TDSFilter& filter);

    // Whether the expression is true for that row of the store.
    bool Matches(const TDSRowStore& store, int row) const {
        return Evaluate(root_, store, row) == Truth::True;
    }

  private:
    enum class Truth { False, True, Unknown };

    // A column compared with a constant, the constant in the form of the column's slot.
    struct SlotCompare {
        int column = -1;
        TDSValueView constant;
    };

    struct Node {
        TDSNodeKind kind = TDSNodeKind::Constant;
        TDSCompareOp op = TDSCompareOp::Equal;
        int column = -1;
        TVariant value;
        std::vector<int> operands;
        // Compare with a text constant ending in "*": match by the text before it.
        bool prefixMatch = false;
        // Compare of a column with a constant that converts to the form of the column's slot.
        std::optional<SlotCompare> slotCompare = std::nullopt;
    };

    static bool IsValue(TDSNodeKind kind) {
        return kind == TDSNodeKind::Constant || kind == TDSNodeKind::Column;
    }
    static bool CheckNode(const TDSExprNode& node, int index, const std::vector<TDSExprNode>& nodes,
                          int columnCount);
    static bool WithinDepth(const TDSExprNode& node, int index, std::vector<int>& depths);
    static constexpr int kMaxDepth = 4096;
    void MarkPrefixMatch(Node& node) const;
    void PrepareSlotCompare(Node& node, const TDSRecordLayout& layout) const;

    TDSValueView ValueOf(int node, const TDSRowStore& store, int row) const;
    Truth Evaluate(int node, const TDSRowStore& store, int row) const;
    Truth EvaluateJunction(const Node& node, const TDSRowStore& store, int row, Truth decisive) const;
    Truth EvaluateCompare(const Node& node, const TDSRowStore& store, int row) const;
    Truth EvaluateLike(const Node& node, const TDSRowStore& store, int row) const;
    Truth EvaluateIn(const Node& node, const TDSRowStore& store, int row) const;

    std::vector<Node> nodes_;
    int root_ = -1;
    bool caseInsensitive_ = false;
    bool noPartialCompare_ = false;
};

}  // namespace contado
