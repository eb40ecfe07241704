#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dsengine/dsvaluecompare.h"
#include "tests/platform/dsengine/dstesttable.h"

namespace contado {
namespace {

using namespace dstest;
using ::testing::ElementsAre;

// Rows: 1 "Ana" 1 Dec 1.5; 2 "ANA" 2 Dec null; 3 "Bea" null 3; 4 null 4 Dec 0.25; 5 "O'Neil" 5 Dec 10.
struct FilterTable : TestTable {
    FilterTable() : TestTable(0) {
        std::vector<TPacketRow> rows = {
            MakeRow(1, "Ana", EncodeDate(2026, 12, 1), TBcd::FromUnscaled(15000, 4)),
            MakeRow(2, "ANA", EncodeDate(2026, 12, 2)),
            MakeRow(3, "Bea", TNull{}, TBcd::FromUnscaled(30000, 4)),
            MakeRow(4, TNull{}, EncodeDate(2026, 12, 4), TBcd::FromUnscaled(2500, 4)),
            MakeRow(5, "O'Neil", EncodeDate(2026, 12, 5), TBcd::FromUnscaled(100000, 4))};
        base->AppendData(MakePacket(std::move(rows), false), true);
    }

    std::vector<std::int64_t> Filtered(const TDSExpression& expression) {
        TDSFilterHandle handle = 0;
        EXPECT_EQ(cursor->AddFilter(expression, handle), dsstatus::kOk);
        std::vector<std::int64_t> ids = VisibleIds();
        EXPECT_EQ(cursor->DropFilter(handle), dsstatus::kOk);
        return ids;
    }
};

TDSExpression Compare(Column column, TDSCompareOp op, TVariant constant) {
    TDSExpression expression;
    int left = expression.AddColumn(column);
    int right = expression.AddConstant(std::move(constant));
    expression.SetRoot(expression.AddCompare(op, left, right));
    return expression;
}

TDSExpression Unary(TDSNodeKind kind, Column column) {
    TDSExpression expression;
    expression.SetRoot(expression.AddUnary(kind, expression.AddColumn(column)));
    return expression;
}

TEST(DSFilter, ComparesEveryTypeWithEveryOperator) {
    FilterTable table;
    using Op = TDSCompareOp;
    EXPECT_THAT(table.Filtered(Compare(kId, Op::Equal, std::int64_t{3})), ElementsAre(3));
    EXPECT_THAT(table.Filtered(Compare(kId, Op::NotEqual, std::int64_t{3})), ElementsAre(1, 2, 4, 5));
    EXPECT_THAT(table.Filtered(Compare(kId, Op::Less, std::int64_t{3})), ElementsAre(1, 2));
    EXPECT_THAT(table.Filtered(Compare(kId, Op::Greater, std::int64_t{3})), ElementsAre(4, 5));
    EXPECT_THAT(table.Filtered(Compare(kId, Op::LessOrEqual, std::int64_t{3})), ElementsAre(1, 2, 3));
    EXPECT_THAT(table.Filtered(Compare(kId, Op::GreaterOrEqual, std::int64_t{3})), ElementsAre(3, 4, 5));

    EXPECT_THAT(table.Filtered(Compare(kName, Op::Equal, "Ana")), ElementsAre(1));
    EXPECT_THAT(table.Filtered(Compare(kName, Op::Less, "Bea")), ElementsAre(1, 2));
    EXPECT_THAT(table.Filtered(Compare(kName, Op::Equal, "O'Neil")), ElementsAre(5));

    // Decimals order by value, not by text ("10" after "3"), also against integers.
    EXPECT_THAT(table.Filtered(Compare(kRate, Op::Greater, TBcd::FromUnscaled(2, 0))), ElementsAre(3, 5));
    EXPECT_THAT(table.Filtered(Compare(kRate, Op::Equal, std::int64_t{3})), ElementsAre(3));
    EXPECT_THAT(table.Filtered(Compare(kRate, Op::LessOrEqual, TBcd::FromUnscaled(25, 2))), ElementsAre(4));

    EXPECT_THAT(table.Filtered(Compare(kDay, Op::Equal, EncodeDate(2026, 12, 2))), ElementsAre(2));
    EXPECT_THAT(table.Filtered(Compare(kDay, Op::GreaterOrEqual, EncodeDate(2026, 12, 4))),
                ElementsAre(4, 5));
    EXPECT_THAT(table.Filtered(Compare(kDay, Op::Equal, EncodeDate(2027, 1, 1))), ElementsAre());
}

TEST(DSFilter, NullsAreUnknownAndOnlyIsNullFindsThem) {
    FilterTable table;
    EXPECT_THAT(table.Filtered(Unary(TDSNodeKind::IsNull, kName)), ElementsAre(4));
    EXPECT_THAT(table.Filtered(Unary(TDSNodeKind::IsNotNull, kRate)), ElementsAre(1, 3, 4, 5));
    TDSExpression notEqual = Compare(kDay, TDSCompareOp::Equal, EncodeDate(2026, 12, 1));
    notEqual.SetRoot(notEqual.AddUnary(TDSNodeKind::Not, notEqual.Root()));
    EXPECT_THAT(table.Filtered(notEqual), ElementsAre(2, 4, 5));
}

TEST(DSFilter, CombinesWithAndOrNot) {
    FilterTable table;
    TDSExpression expression;
    int low = expression.AddCompare(TDSCompareOp::Less, expression.AddColumn(kId),
                                    expression.AddConstant(std::int64_t{3}));
    int rated = expression.AddUnary(TDSNodeKind::IsNotNull, expression.AddColumn(kRate));
    int both = expression.AddBinary(TDSNodeKind::And, low, rated);
    int five = expression.AddCompare(TDSCompareOp::Equal, expression.AddColumn(kId),
                                     expression.AddConstant(std::int64_t{5}));
    expression.SetRoot(expression.AddBinary(TDSNodeKind::Or, both, five));
    EXPECT_THAT(table.Filtered(expression), ElementsAre(1, 5));
    expression.SetRoot(expression.AddUnary(TDSNodeKind::Not, expression.Root()));
    EXPECT_THAT(table.Filtered(expression), ElementsAre(2, 3, 4));
}

TEST(DSFilter, LikeInPartialCompareAndCase) {
    FilterTable table;
    TDSExpression like;
    like.SetRoot(like.AddBinary(TDSNodeKind::Like, like.AddColumn(kName), like.AddConstant("%n*")));
    EXPECT_THAT(table.Filtered(like), ElementsAre(1));
    like.CaseInsensitive = true;
    EXPECT_THAT(table.Filtered(like), ElementsAre(1, 2, 5));

    TDSExpression in;
    int column = in.AddColumn(kId);
    in.SetRoot(in.AddIn(column, {in.AddConstant(std::int64_t{2}), in.AddConstant(std::int64_t{5}),
                                 in.AddConstant(std::int64_t{9})}));
    EXPECT_THAT(table.Filtered(in), ElementsAre(2, 5));

    TDSExpression prefix = Compare(kName, TDSCompareOp::Equal, "A*");
    EXPECT_THAT(table.Filtered(prefix), ElementsAre(1, 2));
    prefix.NoPartialCompare = true;
    EXPECT_THAT(table.Filtered(prefix), ElementsAre());
    TDSExpression notPrefix = Compare(kName, TDSCompareOp::NotEqual, "A*");
    EXPECT_THAT(table.Filtered(notPrefix), ElementsAre(3, 5));

    TDSExpression caseless = Compare(kName, TDSCompareOp::Equal, "ana");
    caseless.CaseInsensitive = true;
    EXPECT_THAT(table.Filtered(caseless), ElementsAre(1, 2));
}

TEST(DSFilter, LikePatternsMatchWholeTexts) {
    EXPECT_TRUE(MatchesLikePattern("abc", "abc", false));
    EXPECT_FALSE(MatchesLikePattern("abcd", "abc", false));
    EXPECT_TRUE(MatchesLikePattern("abcd", "a*d", false));
    EXPECT_TRUE(MatchesLikePattern("", "%", false));
    EXPECT_TRUE(MatchesLikePattern("aXbXc", "*b%c", false));
    EXPECT_FALSE(MatchesLikePattern("aXbXd", "*b%c", false));
    EXPECT_TRUE(MatchesLikePattern("ABC", "a%c", true));
    EXPECT_FALSE(MatchesLikePattern(std::string(5000, 'a'), std::string(20, '*') + "b", false));
}

TEST(DSFilter, RefusesMalformedExpressions) {
    FilterTable table;
    TDSFilterHandle handle = 0;
    TDSExpression empty;
    EXPECT_EQ(table.cursor->AddFilter(empty, handle), dsstatus::kInvalidExpression);
    EXPECT_EQ(table.cursor->AddFilter(Compare(static_cast<Column>(9), TDSCompareOp::Equal, 1.0), handle),
              dsstatus::kInvalidExpression);
    TDSExpression valueRoot;
    valueRoot.SetRoot(valueRoot.AddColumn(kId));
    EXPECT_EQ(table.cursor->AddFilter(valueRoot, handle), dsstatus::kInvalidExpression);
    TDSExpression booleanOperand;
    int test = booleanOperand.AddUnary(TDSNodeKind::IsNull, booleanOperand.AddColumn(kId));
    booleanOperand.SetRoot(booleanOperand.AddCompare(TDSCompareOp::Equal, test, test));
    EXPECT_EQ(table.cursor->AddFilter(booleanOperand, handle), dsstatus::kInvalidExpression);
    TDSExpression valueInAnd;
    int column = valueInAnd.AddColumn(kId);
    valueInAnd.SetRoot(valueInAnd.AddBinary(TDSNodeKind::And, column, column));
    EXPECT_EQ(table.cursor->LocateWithFilter(valueInAnd), dsstatus::kInvalidExpression);
    EXPECT_EQ(table.cursor->DropFilter(42), dsstatus::kInvalidFilterHandle);
}

TEST(DSFilter, ChangedRowsLeaveOrJoinTheVisibleRows) {
    FilterTable table;
    TDSFilterHandle handle = 0;
    table.cursor->AddFilter(Compare(kName, TDSCompareOp::Equal, "A*"), handle);
    table.MoveToId(2);
    table.SetCurrent(kName, "Zoe");
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1));
    table.cursor->MoveToEOF();
    table.Insert(7, "Zed");
    table.Insert(8, "Abe");
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 8));
    table.cursor->DropFilter(handle);
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 2, 3, 4, 5, 7, 8));
}

TEST(DSFilter, LocateFindsTheFirstVisibleMatchOrKeepsThePosition) {
    FilterTable table;
    TDSExpression ana = Compare(kName, TDSCompareOp::Equal, "ana");
    ana.CaseInsensitive = true;
    table.cursor->MoveToSeqNo(4);
    ASSERT_EQ(table.cursor->LocateWithFilter(ana), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 1);

    TDSFilterHandle handle = 0;
    table.cursor->AddFilter(Compare(kId, TDSCompareOp::Greater, std::int64_t{1}), handle);
    ASSERT_EQ(table.cursor->LocateWithFilter(ana), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 2);
    table.cursor->MoveToSeqNo(3);
    EXPECT_EQ(table.cursor->LocateWithFilter(Compare(kId, TDSCompareOp::Equal, std::int64_t{1})),
              dsstatus::kRecordNotFound);
    EXPECT_EQ(table.CurrentId(), 4);
}

}  // namespace
}  // namespace contado
