#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/idsbase.h"

// Filters and Locate read compares of a column with a constant straight from the records. Each
// expression here is checked against its double negation, which the general evaluation decides
// (NOT NOT keeps true rows and drops false and unknown ones), over values in their slots, nulls,
// values kept out of line, decimals of other scales and texts with accents.

namespace contado {
namespace {

enum Column { kId, kBig, kDay, kRate, kFlag, kName };

TDataPacket Packet() {
    TDataPacket packet;
    packet.Columns = {TPacketColumn::Make("ID", ftInteger),       TPacketColumn::Make("BIG", ftLargeint),
                      TPacketColumn::Make("DAY", ftDate),         TPacketColumn::Make("RATE", ftFMTBcd, 4, 15),
                      TPacketColumn::Make("FLAG", ftBoolean),     TPacketColumn::Make("NAME", ftString, 10)};
    const TVariant null = TNull{};
    const TDateTime day = EncodeDate(2026, 12, 1);
    auto rate = [](std::int64_t unscaled, int scale) { return TVariant(TBcd::FromUnscaled(unscaled, scale)); };
    const std::vector<std::vector<TVariant>> rows = {
        {std::int64_t{1}, std::int64_t{10}, day, rate(15000, 4), true, std::string("Ñandú")},
        {std::int64_t{2}, std::int64_t{-10}, day + 1, rate(150, 2), false, std::string("ñandú")},
        {std::int64_t{3}, null, null, null, null, null},
        // Beyond 32 bits in the integer column, a number in the date column, a decimal wider than
        // 64 bits and a number in the boolean column: kept out of line.
        {std::int64_t{5000000000}, std::numeric_limits<std::int64_t>::max(), std::int64_t{46000},
         TBcd::FromUnscaled(TBcd::Unscaled{1} << 70, 4), std::int64_t{1}, std::string("é")},
        {std::int64_t{-7}, std::int64_t{0}, std::nan(""), rate(3, 0), true, std::string("e")},
        {std::int64_t{2}, std::numeric_limits<std::int64_t>::min(), day + 0.5, rate(-25, 1), false,
         std::string("ÑA")},
        {std::int64_t{0}, std::int64_t{10}, day, rate(150000, 6), null, std::string("")},
    };
    for (const auto& values : rows) {
        packet.Rows.push_back(TPacketRow{TUpdateStatus::Unmodified, values});
    }
    return packet;
}

struct Table {
    std::unique_ptr<IDSBase> base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;

    Table() {
        EXPECT_EQ(base->AppendData(Packet(), true), dsstatus::kOk);
        EXPECT_EQ(base->CreateCursor(cursor), dsstatus::kOk);
    }

    // The visible rows, each as its sequence number in the table before filtering.
    std::vector<std::string> Visible() {
        std::vector<std::string> rows;
        cursor->MoveToBOF();
        TDSRecord record;
        while (cursor->MoveRelative(1) == dsstatus::kOk) {
            TDSBookmark mark = 0;
            cursor->GetCurrentBookmark(mark);
            rows.push_back(std::to_string(mark));
        }
        return rows;
    }

    std::vector<std::string> Filtered(const TDSExpression& expression) {
        TDSFilterHandle handle = 0;
        EXPECT_EQ(cursor->AddFilter(expression, handle), dsstatus::kOk);
        std::vector<std::string> rows = Visible();
        EXPECT_EQ(cursor->DropFilter(handle), dsstatus::kOk);
        return rows;
    }

    // The row Locate lands on, or "none".
    std::string Located(const TDSExpression& expression) {
        cursor->MoveToBOF();
        if (cursor->LocateWithFilter(expression) != dsstatus::kOk) {
            return "none";
        }
        TDSBookmark mark = 0;
        cursor->GetCurrentBookmark(mark);
        return std::to_string(mark);
    }
};

struct Condition {
    Column column;
    TDSCompareOp op;
    TVariant constant;
};

int AddCondition(TDSExpression& expression, const Condition& condition) {
    return expression.AddCompare(condition.op, expression.AddColumn(condition.column),
                                 expression.AddConstant(condition.constant));
}

// One condition, or several joined by AND or OR.
TDSExpression Expression(const std::vector<Condition>& conditions, TDSNodeKind junction, bool negatedTwice) {
    TDSExpression expression;
    std::vector<int> nodes;
    for (const Condition& condition : conditions) {
        nodes.push_back(AddCondition(expression, condition));
    }
    int root = nodes.size() == 1 ? nodes[0] : expression.AddJunction(junction, nodes);
    if (negatedTwice) {
        root = expression.AddUnary(TDSNodeKind::Not, expression.AddUnary(TDSNodeKind::Not, root));
    }
    expression.SetRoot(root);
    return expression;
}

std::vector<TVariant> Constants() {
    return {std::int64_t{2},           std::int64_t{0},          std::int64_t{-10},
            std::int64_t{5000000000},  TBcd::FromUnscaled(15, 1), TBcd::FromUnscaled(150, 2),
            TBcd::FromUnscaled(3, 0),  TBcd::FromUnscaled(-2500, 3), TBcd::FromUnscaled(1, 6),
            1.5,                       2.0,                      EncodeDate(2026, 12, 1),
            EncodeDate(2026, 12, 2),   46000.0,                  true,
            false,                     std::string("2")};
}

constexpr TDSCompareOp kOps[] = {TDSCompareOp::Equal,       TDSCompareOp::NotEqual,
                                 TDSCompareOp::Less,        TDSCompareOp::Greater,
                                 TDSCompareOp::LessOrEqual, TDSCompareOp::GreaterOrEqual};
constexpr Column kNumberColumns[] = {kId, kBig, kDay, kRate, kFlag};

TEST(DSDirectFilter, EveryCompareOfANumberColumnGivesTheGeneralRows) {
    Table table;
    for (Column column : kNumberColumns) {
        for (TDSCompareOp op : kOps) {
            const std::vector<TVariant> constants = Constants();
            for (std::size_t index = 0; index < constants.size(); ++index) {
                const std::vector<Condition> conditions = {{column, op, constants[index]}};
                SCOPED_TRACE(testing::Message() << "column " << column << " op " << static_cast<int>(op)
                                                << " constant " << index);
                const TDSExpression direct = Expression(conditions, TDSNodeKind::And, false);
                const TDSExpression general = Expression(conditions, TDSNodeKind::And, true);
                EXPECT_EQ(table.Filtered(direct), table.Filtered(general));
                EXPECT_EQ(table.Located(direct), table.Located(general));
            }
        }
    }
}

TEST(DSDirectFilter, JunctionsWithTextAndNumberConditionsGiveTheGeneralRows) {
    Table table;
    const std::vector<std::vector<Condition>> cases = {
        {{kId, TDSCompareOp::Equal, std::int64_t{2}}, {kDay, TDSCompareOp::Less, EncodeDate(2026, 12, 2)}},
        {{kRate, TDSCompareOp::Equal, TBcd::FromUnscaled(15, 1)}, {kName, TDSCompareOp::Equal, "ñandú"}},
        {{kName, TDSCompareOp::Equal, "Ñ*"}, {kFlag, TDSCompareOp::Equal, false}},
        {{kName, TDSCompareOp::Greater, "e"}, {kBig, TDSCompareOp::GreaterOrEqual, std::int64_t{0}},
         {kRate, TDSCompareOp::NotEqual, std::int64_t{3}}},
        {{kDay, TDSCompareOp::Equal, 46000.0}, {kId, TDSCompareOp::Greater, std::int64_t{4}}},
        {{kName, TDSCompareOp::Equal, "é"}, {kName, TDSCompareOp::Equal, "ÑA"}},
    };
    for (bool caseless : {false, true}) {
        for (TDSNodeKind junction : {TDSNodeKind::And, TDSNodeKind::Or}) {
            for (const auto& conditions : cases) {
                SCOPED_TRACE(testing::Message() << "case " << (&conditions - cases.data()) << " junction "
                                                << static_cast<int>(junction) << " caseless " << caseless);
                TDSExpression direct = Expression(conditions, junction, false);
                TDSExpression general = Expression(conditions, junction, true);
                direct.CaseInsensitive = general.CaseInsensitive = caseless;
                EXPECT_EQ(table.Filtered(direct), table.Filtered(general));
                EXPECT_EQ(table.Located(direct), table.Located(general));
            }
        }
    }
}

// The rows read straight from the records are the live ones: deleted rows stay out until the
// deletion is undone, also while several filters are active.
TEST(DSDirectFilter, DeletedRowsStayOutUntilTheirDeletionIsUndone) {
    Table table;
    const TDSExpression two = Expression({{kId, TDSCompareOp::Equal, std::int64_t{2}}}, TDSNodeKind::And, false);
    const TDSExpression rated =
        Expression({{kRate, TDSCompareOp::Greater, std::int64_t{1}}}, TDSNodeKind::And, false);
    EXPECT_THAT(table.Filtered(two), testing::ElementsAre("2", "6"));
    ASSERT_EQ(table.Located(two), "2");
    ASSERT_EQ(table.cursor->DeleteRecord(), dsstatus::kOk);
    EXPECT_THAT(table.Filtered(two), testing::ElementsAre("6"));
    EXPECT_EQ(table.Visible().size(), 6u);
    TDSFilterHandle first = 0;
    TDSFilterHandle second = 0;
    ASSERT_EQ(table.cursor->AddFilter(rated, first), dsstatus::kOk);
    ASSERT_EQ(table.cursor->AddFilter(two, second), dsstatus::kOk);
    EXPECT_THAT(table.Visible(), testing::ElementsAre());
    ASSERT_EQ(table.cursor->DropFilter(second), dsstatus::kOk);
    EXPECT_THAT(table.Visible(), testing::ElementsAre("1", "4", "5"));
    ASSERT_EQ(table.cursor->DropFilter(first), dsstatus::kOk);
    ASSERT_EQ(table.base->CancelChanges(), dsstatus::kOk);
    EXPECT_THAT(table.Filtered(two), testing::ElementsAre("2", "6"));
    EXPECT_EQ(table.Visible().size(), 7u);
    ASSERT_EQ(table.Located(two), "2");
    ASSERT_EQ(table.cursor->DeleteRecord(), dsstatus::kOk);
    ASSERT_EQ(table.base->AcceptChanges(), dsstatus::kOk);
    EXPECT_THAT(table.Filtered(two), testing::ElementsAre("6"));
    EXPECT_EQ(table.Visible().size(), 6u);
}

}  // namespace
}  // namespace contado
