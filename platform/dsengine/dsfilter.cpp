#include "platform/dsengine/dsfilter.h"

#include <algorithm>
#include <type_traits>

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

int TDSFilter::Compile(const TDSExpression& expression, const TDSRecordLayout& layout, TDSFilter& filter) {
    const int columnCount = layout.ColumnCount();
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
        Node node{.kind = source[i].Kind,
                  .op = source[i].Op,
                  .column = source[i].Column,
                  .value = source[i].Value,
                  .operands = source[i].Operands};
        compiled.nodes_.push_back(std::move(node));
    }
    for (Node& node : compiled.nodes_) {
        compiled.MarkPrefixMatch(node);
        compiled.PrepareSlotCompare(node, layout);
    }
    compiled.root_ = root;
    compiled.PrepareDirect(layout);
    filter = std::move(compiled);
    return dsstatus::kOk;
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

// Slot forms are numbers held by value: they view nothing that could move with the nodes.
void TDSFilter::PrepareSlotCompare(Node& node, const TDSRecordLayout& layout) const {
    if (node.kind != TDSNodeKind::Compare) {
        return;
    }
    const Node& left = nodes_[node.operands[0]];
    const Node& right = nodes_[node.operands[1]];
    TDSValueView converted;
    if (left.kind == TDSNodeKind::Column && right.kind == TDSNodeKind::Constant &&
        layout.SlotForm(left.column, TDSValueView::Of(right.value), converted)) {
        node.slotCompare = SlotCompare{left.column, converted};
    }
}

void TDSFilter::PrepareDirect(const TDSRecordLayout& layout) {
    const Node& root = nodes_[root_];
    std::vector<DirectCompare> direct;
    if (root.kind == TDSNodeKind::Compare) {
        direct.push_back(DirectFor(root_, layout));
    } else if (root.kind == TDSNodeKind::And || root.kind == TDSNodeKind::Or) {
        for (int operand : root.operands) {
            direct.push_back(DirectFor(operand, layout));
        }
    }
    const auto usable = [](const DirectCompare& compare) { return compare.usable; };
    if (std::any_of(direct.begin(), direct.end(), usable)) {
        direct_ = std::move(direct);
        directAny_ = root.kind == TDSNodeKind::Or;
    }
}

// The compare's constant as the column's slot holds values; unusable for any other node, and for a
// compare whose constant has no slot form or whose column's slot is not a number's.
TDSFilter::DirectCompare TDSFilter::DirectFor(int node, const TDSRecordLayout& layout) const {
    using Kind = TDSRecordLayout::TSlotKind;
    DirectCompare compare;
    compare.node = node;
    const Node& item = nodes_[node];
    if (item.kind != TDSNodeKind::Compare || !item.slotCompare) {
        return compare;
    }
    const TDSValueView& constant = item.slotCompare->constant;
    compare.access = layout.Access(item.slotCompare->column);
    for (int order = -1; order <= 1; ++order) {
        compare.holds |= Holds(item.op, order) ? 1u << (order + 1) : 0u;
    }
    switch (compare.access.Kind) {
        case Kind::Int32:
        case Kind::Int64:
            compare.usable = constant.Kind() == TDSValueView::TKind::Integer;
            compare.integer = constant.IntegerValue();
            break;
        case Kind::Boolean:
            compare.usable = constant.Kind() == TDSValueView::TKind::Boolean;
            compare.integer = constant.IntegerValue();
            break;
        case Kind::Double:
            compare.usable = constant.Kind() == TDSValueView::TKind::Float;
            compare.real = constant.FloatValue();
            break;
        case Kind::Decimal:
            compare.usable = constant.Kind() == TDSValueView::TKind::Decimal;
            compare.integer = constant.Unscaled();
            compare.scale = static_cast<std::uint8_t>(constant.Scale());
            break;
        case Kind::Text:
        case Kind::OutOfLine:
            break;
    }
    return compare;
}

template <typename Body>
int TDSFilter::WithSingleKind(Body body) const {
    using K = TDSRecordLayout::TSlotKind;
    switch (direct_[0].access.Kind) {
        case K::Int32:
            return body(std::integral_constant<K, K::Int32>{});
        case K::Int64:
            return body(std::integral_constant<K, K::Int64>{});
        case K::Double:
            return body(std::integral_constant<K, K::Double>{});
        case K::Boolean:
            return body(std::integral_constant<K, K::Boolean>{});
        case K::Decimal:
            return body(std::integral_constant<K, K::Decimal>{});
        case K::Text:
        case K::OutOfLine:
            break;
    }
    return body(std::integral_constant<K, K::OutOfLine>{});
}

// A single compare at the root, in a loop of its column's slot kind.
template <TDSRecordLayout::TSlotKind Kind>
int TDSFilter::SelectAs(const TDSRowStore& store, std::span<const int> rows, bool liveOnly, int mark,
                        std::vector<int>& out) const {
    const DirectCompare compare = direct_[0];
    const TDSRowStore::TRecords records = store.Records();
    int marked = -1;
    for (const int row : rows) {
        if (liveOnly && !store.IsLive(row)) {
            continue;
        }
        const Direct direct = EvaluateAs<Kind>(compare, records.Of(row));
        if (direct == Direct::NotTrue ||
            (direct == Direct::Undecided && Evaluate(compare.node, store, row) != Truth::True)) {
            continue;
        }
        if (row == mark) {
            marked = static_cast<int>(out.size());
        }
        out.push_back(row);
    }
    return marked;
}

template <TDSRecordLayout::TSlotKind Kind>
int TDSFilter::FindFirstAs(const TDSRowStore& store, std::span<const int> rows) const {
    const DirectCompare compare = direct_[0];
    const TDSRowStore::TRecords records = store.Records();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Direct direct = EvaluateAs<Kind>(compare, records.Of(rows[i]));
        if (direct == Direct::True ||
            (direct == Direct::Undecided && Evaluate(compare.node, store, rows[i]) == Truth::True)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TDSFilter::Select(const TDSRowStore& store, std::span<const int> rows, bool liveOnly, int mark,
                      std::vector<int>& out) const {
    if (direct_.size() == 1) {
        return WithSingleKind(
            [&](auto kind) { return SelectAs<kind.value>(store, rows, liveOnly, mark, out); });
    }
    int marked = -1;
    for (const int row : rows) {
        if ((liveOnly && !store.IsLive(row)) || !Matches(store, row)) {
            continue;
        }
        if (row == mark) {
            marked = static_cast<int>(out.size());
        }
        out.push_back(row);
    }
    return marked;
}

int TDSFilter::FindFirst(const TDSRowStore& store, std::span<const int> rows) const {
    if (direct_.size() == 1) {
        return WithSingleKind([&](auto kind) { return FindFirstAs<kind.value>(store, rows); });
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (Matches(store, rows[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TDSValueView TDSFilter::ValueOf(int node, const TDSRowStore& store, int row) const {
    const Node& item = nodes_[node];
    return item.kind == TDSNodeKind::Column ? store.View(row, item.column) : TDSValueView::Of(item.value);
}

TDSFilter::Truth TDSFilter::Evaluate(int node, const TDSRowStore& store, int row) const {
    const Node& item = nodes_[node];
    switch (item.kind) {
        case TDSNodeKind::Compare:
            return EvaluateCompare(item, store, row);
        case TDSNodeKind::Like:
            return EvaluateLike(item, store, row);
        case TDSNodeKind::In:
            return EvaluateIn(item, store, row);
        case TDSNodeKind::IsNull:
            return ValueOf(item.operands[0], store, row).IsNull() ? Truth::True : Truth::False;
        case TDSNodeKind::IsNotNull:
            return ValueOf(item.operands[0], store, row).IsNull() ? Truth::False : Truth::True;
        case TDSNodeKind::Not: {
            Truth inner = Evaluate(item.operands[0], store, row);
            return inner == Truth::Unknown ? inner : (inner == Truth::True ? Truth::False : Truth::True);
        }
        case TDSNodeKind::And:
            return EvaluateJunction(item, store, row, Truth::False);
        case TDSNodeKind::Or:
            return EvaluateJunction(item, store, row, Truth::True);
        default:
            return Truth::Unknown;
    }
}

// AND (decisive False) and OR (decisive True) over any number of operands, in a loop, so a chain of
// any length needs no deeper stack. Unknown wins over the other value, as in SQL.
TDSFilter::Truth TDSFilter::EvaluateJunction(const Node& node, const TDSRowStore& store, int row,
                                             Truth decisive) const {
    Truth result = decisive == Truth::False ? Truth::True : Truth::False;
    for (int operand : node.operands) {
        const Truth truth = Evaluate(operand, store, row);
        if (truth == decisive) {
            return truth;
        }
        if (truth == Truth::Unknown) {
            result = Truth::Unknown;
        }
    }
    return result;
}

// A column's value in its slot's form compares with the constant converted to that form; any other
// value with the constant as it was given.
TDSFilter::Truth TDSFilter::EvaluateCompare(const Node& node, const TDSRowStore& store, int row) const {
    if (node.slotCompare) {
        const TDSValueView value = store.View(row, node.slotCompare->column);
        if (value.SameForm(node.slotCompare->constant)) {
            return Holds(node.op, value.CompareSameForm(node.slotCompare->constant)) ? Truth::True
                                                                                     : Truth::False;
        }
    }
    const TDSValueView left = ValueOf(node.operands[0], store, row);
    const TDSValueView right = ValueOf(node.operands[1], store, row);
    if (left.IsNull() || right.IsNull()) {
        return Truth::Unknown;
    }
    int order = 0;
    if (node.prefixMatch) {
        if (!left.IsText()) {
            return Truth::Unknown;
        }
        std::string_view prefix = right.TextValue();
        prefix.remove_suffix(1);
        order = StartsWithCharacters(left.TextValue(), prefix, caseInsensitive_) ? 0 : 1;
    } else if (!CompareValues(left, right, caseInsensitive_, order)) {
        return Truth::Unknown;
    }
    return Holds(node.op, order) ? Truth::True : Truth::False;
}

TDSFilter::Truth TDSFilter::EvaluateLike(const Node& node, const TDSRowStore& store, int row) const {
    const TDSValueView text = ValueOf(node.operands[0], store, row);
    const TDSValueView pattern = ValueOf(node.operands[1], store, row);
    if (!text.IsText() || !pattern.IsText()) {
        return Truth::Unknown;
    }
    return MatchesLikePattern(text.TextValue(), pattern.TextValue(), caseInsensitive_) ? Truth::True
                                                                                       : Truth::False;
}

TDSFilter::Truth TDSFilter::EvaluateIn(const Node& node, const TDSRowStore& store, int row) const {
    const TDSValueView value = ValueOf(node.operands[0], store, row);
    if (value.IsNull()) {
        return Truth::Unknown;
    }
    for (size_t i = 1; i < node.operands.size(); ++i) {
        int order = 0;
        if (CompareValues(value, ValueOf(node.operands[i], store, row), caseInsensitive_, order) &&
            order == 0) {
            return Truth::True;
        }
    }
    return Truth::False;
}

}  // namespace contado
