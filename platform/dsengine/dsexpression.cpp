#include "platform/dsengine/dsexpression.h"

namespace contado {

int TDSExpression::Add(TDSExprNode node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
}

int TDSExpression::AddConstant(TVariant value) {
    TDSExprNode node;
    node.Kind = TDSNodeKind::Constant;
    node.Value = std::move(value);
    return Add(std::move(node));
}

int TDSExpression::AddColumn(int column) {
    TDSExprNode node;
    node.Kind = TDSNodeKind::Column;
    node.Column = column;
    return Add(std::move(node));
}

int TDSExpression::AddCompare(TDSCompareOp op, int left, int right) {
    TDSExprNode node;
    node.Kind = TDSNodeKind::Compare;
    node.Op = op;
    node.Operands = {left, right};
    return Add(std::move(node));
}

int TDSExpression::AddUnary(TDSNodeKind kind, int operand) {
    TDSExprNode node;
    node.Kind = kind;
    node.Operands = {operand};
    return Add(std::move(node));
}

int TDSExpression::AddBinary(TDSNodeKind kind, int left, int right) {
    TDSExprNode node;
    node.Kind = kind;
    node.Operands = {left, right};
    return Add(std::move(node));
}

int TDSExpression::AddJunction(TDSNodeKind kind, std::vector<int> conditions) {
    TDSExprNode node;
    node.Kind = kind;
    node.Operands = std::move(conditions);
    return Add(std::move(node));
}

int TDSExpression::AddIn(int value, const std::vector<int>& items) {
    TDSExprNode node;
    node.Kind = TDSNodeKind::In;
    node.Operands.push_back(value);
    node.Operands.insert(node.Operands.end(), items.begin(), items.end());
    return Add(std::move(node));
}

}  // namespace contado
