#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/fieldtype.h"
#include "core/variant.h"
#include "platform/dsengine/dsexpression.h"

namespace contado {

enum class TFilterNodeKind { Field, Constant, Compare, And, Or, Not, IsNull, IsNotNull, Like, In };

// One node of a parsed filter expression.
struct TFilterNode {
    TFilterNodeKind Kind = TFilterNodeKind::Constant;
    TDSCompareOp Op = TDSCompareOp::Equal;  // Compare nodes
    // Field nodes: the field's name, type, size and column; constants: the type they took.
    std::string Name;
    TFieldType Type = ftUnknown;
    int Size = 0;
    int Column = -1;
    // Constants: the text as written, and the value, of the kind the engine stores for Type.
    std::string Text;
    TVariant Value;
    // Compare: two sides; Not, IsNull, IsNotNull: one; Like: value and pattern; In: value, then items;
    // And, Or: two or more conditions.
    std::vector<std::unique_ptr<TFilterNode>> Operands;

    bool IsValue() const { return Kind == TFilterNodeKind::Field || Kind == TFilterNodeKind::Constant; }
};

}  // namespace contado
