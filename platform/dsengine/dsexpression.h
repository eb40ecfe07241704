#pragma once

#include <vector>

#include "core/variant.h"

namespace contado {

enum class TDSNodeKind { Constant, Column, Compare, And, Or, Not, IsNull, IsNotNull, Like, In };
enum class TDSCompareOp { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

// One node of a filter expression. Operands are indexes of other nodes of the same expression.
struct TDSExprNode {
    TDSNodeKind Kind = TDSNodeKind::Constant;
    TDSCompareOp Op = TDSCompareOp::Equal;  // Compare nodes
    int Column = -1;                        // Column nodes: the packet column
    TVariant Value;                         // Constant nodes: already of the column's value kind
    // Compare: the two sides; Not, IsNull, IsNotNull: one; Like: value and pattern;
    // In: the value, then the list items; And, Or: two or more conditions.
    std::vector<int> Operands;
};

// The engine's filter expression format: a tree of nodes stored in one vector.
// Built by the table from its filter text, checked and evaluated by the engine per row.
class TDSExpression {
  public:
    int AddConstant(TVariant value);
    int AddColumn(int column);
    int AddCompare(TDSCompareOp op, int left, int right);
    int AddUnary(TDSNodeKind kind, int operand);
    int AddBinary(TDSNodeKind kind, int left, int right);
    // And or Or over two or more conditions.
    int AddJunction(TDSNodeKind kind, std::vector<int> conditions);
    int AddIn(int value, const std::vector<int>& items);
    void SetRoot(int node) { root_ = node; }

    const std::vector<TDSExprNode>& Nodes() const { return nodes_; }
    int Root() const { return root_; }

    // Text comparisons and LIKE ignore the case of letters.
    bool CaseInsensitive = false;
    // A text constant ending in "*" compared with "=" or "<>" matches by its prefix, unless this is set.
    bool NoPartialCompare = false;

  private:
    int Add(TDSExprNode node);

    std::vector<TDSExprNode> nodes_;
    int root_ = -1;
};

}  // namespace contado
