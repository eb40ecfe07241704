#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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
        return direct_.empty() ? Evaluate(root_, store, row) == Truth::True : MatchesDirect(store, row);
    }

    // Appends to out, in their order, the rows of rows for which the expression is true, skipping
    // rows that are not live when liveOnly is set. Answers the index in out of the row mark, or -1
    // when it is not among them.
    int Select(const TDSRowStore& store, std::span<const int> rows, bool liveOnly, int mark,
               std::vector<int>& out) const;
    // The index in rows of the first row for which the expression is true; -1 when there is none.
    int FindFirst(const TDSRowStore& store, std::span<const int> rows) const;

  private:
    enum class Truth { False, True, Unknown };
    // What a compare read straight from the record gives: true, not true (false or unknown), or
    // nothing decided, when the value is not in its slot in the constant's form.
    enum class Direct { True, NotTrue, Undecided };

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

    // A compare of a column with a constant in the form of the column's slot, read straight from
    // the record. A filter whose root is such a compare, or an AND or OR of conditions some of which
    // are, evaluates them so; the general evaluation decides the rest and whatever they leave
    // undecided. Only whether the root is true matters, so unknown and false need not be told apart.
    struct DirectCompare {
        TDSRecordLayout::TColumnAccess access;
        // Bit 0, 1 or 2: whether the compare holds when the value is below, equal to or above the
        // constant.
        unsigned holds = 0;
        std::uint8_t scale = 0;     // of a decimal constant
        std::int64_t integer = 0;   // integer, boolean (0 or 1) and decimal (unscaled) constants
        double real = 0;            // float constants
        int node = -1;              // the compare node, for what is left undecided
        bool usable = false;        // false: an operand the general evaluation decides
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
    void PrepareDirect(const TDSRecordLayout& layout);
    DirectCompare DirectFor(int node, const TDSRecordLayout& layout) const;
    static Direct EvaluateDirect(const DirectCompare& compare, const std::byte* record);
    template <TDSRecordLayout::TSlotKind Kind>
    static Direct EvaluateAs(const DirectCompare& compare, const std::byte* record);
    template <TDSRecordLayout::TSlotKind Kind>
    int SelectAs(const TDSRowStore& store, std::span<const int> rows, bool liveOnly, int mark,
                 std::vector<int>& out) const;
    template <TDSRecordLayout::TSlotKind Kind>
    int FindFirstAs(const TDSRowStore& store, std::span<const int> rows) const;
    // Calls body with the slot kind of the single compare as a constant, for loops of that kind.
    template <typename Body>
    int WithSingleKind(Body body) const;
    bool DirectTrue(const DirectCompare& compare, const TDSRowStore& store, int row,
                    const std::byte* record) const;
    bool MatchesDirect(const TDSRowStore& store, int row) const;

    TDSValueView ValueOf(int node, const TDSRowStore& store, int row) const;
    Truth Evaluate(int node, const TDSRowStore& store, int row) const;
    Truth EvaluateJunction(const Node& node, const TDSRowStore& store, int row, Truth decisive) const;
    Truth EvaluateCompare(const Node& node, const TDSRowStore& store, int row) const;
    Truth EvaluateLike(const Node& node, const TDSRowStore& store, int row) const;
    Truth EvaluateIn(const Node& node, const TDSRowStore& store, int row) const;

    std::vector<Node> nodes_;
    // The root's conditions read straight from the record (one for a compare at the root); empty
    // when the root is of another shape.
    std::vector<DirectCompare> direct_;
    bool directAny_ = false;  // the root is an OR
    int root_ = -1;
    bool caseInsensitive_ = false;
    bool noPartialCompare_ = false;
};

// Filters and searches evaluate these for every row; they are inline to keep that short.

template <TDSRecordLayout::TSlotKind Kind>
inline TDSFilter::Direct TDSFilter::EvaluateAs(const DirectCompare& compare, const std::byte* record) {
    using K = TDSRecordLayout::TSlotKind;
    const TDSRecordLayout::TState state = TDSRecordLayout::StateAt(record, compare.access);
    if (state != TDSRecordLayout::kInSlot) {
        // A null (or unassigned) value compares as unknown; one kept out of line is left undecided.
        return state == TDSRecordLayout::kOutOfLine ? Direct::Undecided : Direct::NotTrue;
    }
    const std::byte* data = record + compare.access.Offset;
    int order = 0;
    if constexpr (Kind == K::Double) {
        const auto value = TDSRecordLayout::Load<double>(data);
        order = (value > compare.real) - (value < compare.real);
    } else {
        std::int64_t value = 0;
        if constexpr (Kind == K::Int32) {
            value = TDSRecordLayout::Load<std::int32_t>(data);
        } else if constexpr (Kind == K::Int64) {
            value = TDSRecordLayout::Load<std::int64_t>(data);
        } else if constexpr (Kind == K::Boolean) {
            value = TDSRecordLayout::Load<std::uint8_t>(data) != 0 ? 1 : 0;
        } else if constexpr (Kind == K::Decimal) {
            // A decimal stored with a scale of its own compares by value, in the general way.
            if (TDSRecordLayout::Load<std::uint8_t>(data + sizeof(std::int64_t)) != compare.scale) {
                return Direct::Undecided;
            }
            value = TDSRecordLayout::Load<std::int64_t>(data);
        } else {
            return Direct::Undecided;
        }
        order = (value > compare.integer) - (value < compare.integer);
    }
    return (compare.holds >> (order + 1) & 1u) != 0 ? Direct::True : Direct::NotTrue;
}

inline TDSFilter::Direct TDSFilter::EvaluateDirect(const DirectCompare& compare, const std::byte* record) {
    using K = TDSRecordLayout::TSlotKind;
    switch (compare.access.Kind) {
        case K::Int32:
            return EvaluateAs<K::Int32>(compare, record);
        case K::Int64:
            return EvaluateAs<K::Int64>(compare, record);
        case K::Double:
            return EvaluateAs<K::Double>(compare, record);
        case K::Boolean:
            return EvaluateAs<K::Boolean>(compare, record);
        case K::Decimal:
            return EvaluateAs<K::Decimal>(compare, record);
        case K::Text:
        case K::OutOfLine:
            break;
    }
    return Direct::Undecided;
}

inline bool TDSFilter::DirectTrue(const DirectCompare& compare, const TDSRowStore& store, int row,
                                  const std::byte* record) const {
    if (compare.usable) {
        const Direct direct = EvaluateDirect(compare, record);
        if (direct != Direct::Undecided) {
            return direct == Direct::True;
        }
    }
    return Evaluate(compare.node, store, row) == Truth::True;
}

inline bool TDSFilter::MatchesDirect(const TDSRowStore& store, int row) const {
    const std::byte* record = store.RecordOf(row);
    for (const DirectCompare& compare : direct_) {
        if (DirectTrue(compare, store, row, record) == directAny_) {
            return directAny_;
        }
    }
    return !directAny_;
}

}  // namespace contado
