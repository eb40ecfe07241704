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

// ---------------------------------------------------------------------------------------------
// Every kind of slot, with values in their slots, out of line and null

enum SlotColumn { kSlotId, kCount, kBig, kFlag, kReal, kDay, kStamp, kSlotRate, kCode, kNote };

// 10:30 on 1 December 2026, and the same a ten-thousandth of a second later.
const TDateTime kStamp1 = EncodeDate(2026, 12, 1) + EncodeTime(10, 30, 0, 0);
const TDateTime kStamp1Later = kStamp1 + 1.0 / 864000000.0;

TBcd Wide() {
    return TBcd::FromUnscaled(static_cast<TBcd::Unscaled>(10000000000) * 10000000000, 0);
}

// Rows 1 to 5; row 3 is null but for its id. Row 4 keeps a count too large for its integer slot and a
// rate of scale 2 in a column of scale 4; row 5 a rate too wide for 64 bits: those go out of line.
struct SlotTable {
    std::unique_ptr<IDSBase> base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;

    SlotTable() {
        TDataPacket packet;
        packet.Columns = {
            TPacketColumn::Make("ID", ftInteger),     TPacketColumn::Make("COUNT", ftInteger),
            TPacketColumn::Make("BIG", ftLargeint),   TPacketColumn::Make("FLAG", ftBoolean),
            TPacketColumn::Make("REAL", ftFloat),     TPacketColumn::Make("DAY", ftDate),
            TPacketColumn::Make("STAMP", ftDateTime), TPacketColumn::Make("RATE", ftFMTBcd, 4, 15),
            TPacketColumn::Make("CODE", ftString, 4), TPacketColumn::Make("NOTE", ftString, 40)};
        const TVariant null = TNull{};
        packet.Rows = {
            Row({std::int64_t{1}, std::int64_t{10}, std::int64_t{5000000000}, true, 1.5,
                 EncodeDate(2026, 12, 1), kStamp1, TBcd::FromUnscaled(190000, 4), std::string("Ñu"),
                 std::string("Éste es un texto largo")}),
            Row({std::int64_t{2}, std::int64_t{20}, std::int64_t{-7}, false, 2.25, EncodeDate(2026, 12, 2),
                 EncodeDate(2026, 12, 2), TBcd::FromUnscaled(50000, 4), std::string("ñU"),
                 std::string("éste")}),
            Row({std::int64_t{3}, null, null, null, null, null, null, null, null, null}),
            Row({std::int64_t{4}, std::int64_t{3000000000}, std::int64_t{5000000000}, true, -1.0,
                 EncodeDate(2026, 12, 4), kStamp1Later, TBcd::FromUnscaled(1950, 2), std::string("Ana"),
                 std::string("ANA")}),
            Row({std::int64_t{5}, std::int64_t{-5}, std::int64_t{0}, false, 1.5, EncodeDate(2026, 12, 5),
                 EncodeDate(2026, 12, 5), Wide(), std::string("ABCD"), std::string(40, 'x')})};
        EXPECT_EQ(base->AppendData(packet, true), dsstatus::kOk);
        EXPECT_EQ(base->CreateCursor(cursor), dsstatus::kOk);
    }

    static TPacketRow Row(std::vector<TVariant> values) {
        return TPacketRow{TUpdateStatus::Unmodified, std::move(values)};
    }

    std::int64_t CurrentId() {
        TDSRecord record;
        return cursor->GetCurrentRecord(record) == dsstatus::kOk ? std::get<std::int64_t>(record[kSlotId])
                                                                 : -1;
    }

    std::vector<std::int64_t> Filtered(const TDSExpression& expression) {
        TDSFilterHandle handle = 0;
        EXPECT_EQ(cursor->AddFilter(expression, handle), dsstatus::kOk);
        std::vector<std::int64_t> ids;
        cursor->MoveToBOF();
        while (cursor->MoveRelative(1) == dsstatus::kOk) {
            ids.push_back(CurrentId());
        }
        EXPECT_EQ(cursor->DropFilter(handle), dsstatus::kOk);
        return ids;
    }

    // The id of the first row found from the first row on, or -1.
    std::int64_t Located(const TDSExpression& expression) {
        cursor->MoveToBOF();
        return cursor->LocateWithFilter(expression) == dsstatus::kOk ? CurrentId() : -1;
    }
};

TDSExpression SlotCompare(SlotColumn column, TDSCompareOp op, TVariant constant,
                          bool caseInsensitive = false) {
    TDSExpression expression;
    int left = expression.AddColumn(column);
    int right = expression.AddConstant(std::move(constant));
    expression.SetRoot(expression.AddCompare(op, left, right));
    expression.CaseInsensitive = caseInsensitive;
    return expression;
}

using Op = TDSCompareOp;

TEST(DSFilterSlots, IntegersCompareInTheirSlotsAndOutOfLineWithConstantsOfAnyNumberKind) {
    SlotTable table;
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotId, Op::Equal, std::int64_t{3})), ElementsAre(3));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotId, Op::Greater, TBcd::FromUnscaled(25, 1))),
                ElementsAre(3, 4, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotId, Op::Equal, TBcd::FromUnscaled(200, 2))), ElementsAre(2));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotId, Op::LessOrEqual, 2.0)), ElementsAre(1, 2));

    EXPECT_THAT(table.Filtered(SlotCompare(kCount, Op::Equal, std::int64_t{3000000000})), ElementsAre(4));
    EXPECT_THAT(table.Filtered(SlotCompare(kCount, Op::Greater, std::int64_t{15})), ElementsAre(2, 4));
    EXPECT_THAT(table.Filtered(SlotCompare(kCount, Op::Less, std::int64_t{0})), ElementsAre(5));
    EXPECT_THAT(table.Filtered(SlotCompare(kCount, Op::NotEqual, std::int64_t{10})), ElementsAre(2, 4, 5));

    EXPECT_THAT(table.Filtered(SlotCompare(kBig, Op::Equal, std::int64_t{5000000000})), ElementsAre(1, 4));
    EXPECT_THAT(table.Filtered(SlotCompare(kBig, Op::Less, std::int64_t{0})), ElementsAre(2));

    EXPECT_THAT(table.Filtered(SlotCompare(kFlag, Op::Equal, true)), ElementsAre(1, 4));
    EXPECT_THAT(table.Filtered(SlotCompare(kFlag, Op::NotEqual, true)), ElementsAre(2, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kFlag, Op::Equal, std::int64_t{0})), ElementsAre(2, 5));
}

TEST(DSFilterSlots, FloatsDatesAndTimesCompareInTheirSlots) {
    SlotTable table;
    EXPECT_THAT(table.Filtered(SlotCompare(kReal, Op::Equal, 1.5)), ElementsAre(1, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kReal, Op::Greater, std::int64_t{1})), ElementsAre(1, 2, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kReal, Op::Equal, TBcd::FromUnscaled(15, 1))), ElementsAre(1, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kReal, Op::Less, TBcd::FromInt64(0))), ElementsAre(4));

    EXPECT_THAT(table.Filtered(SlotCompare(kDay, Op::Equal, EncodeDate(2026, 12, 2))), ElementsAre(2));
    EXPECT_THAT(table.Filtered(SlotCompare(kDay, Op::GreaterOrEqual, EncodeDate(2026, 12, 4))),
                ElementsAre(4, 5));

    EXPECT_THAT(table.Filtered(SlotCompare(kStamp, Op::Equal, kStamp1)), ElementsAre(1));
    EXPECT_THAT(table.Filtered(SlotCompare(kStamp, Op::Greater, kStamp1)), ElementsAre(2, 4, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kStamp, Op::Equal, kStamp1Later)), ElementsAre(4));
}

TEST(DSFilterSlots, DecimalsCompareByValueWhateverTheirScaleOrWidth) {
    SlotTable table;
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Equal, TBcd::FromUnscaled(190000, 4))),
                ElementsAre(1));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Equal, std::int64_t{19})), ElementsAre(1));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Equal, TBcd::FromUnscaled(195, 1))),
                ElementsAre(4));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Greater, std::int64_t{18})), ElementsAre(1, 4, 5));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Equal, TBcd::FromUnscaled(1900001, 5))),
                ElementsAre());
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Less, TBcd::FromUnscaled(1900001, 5))),
                ElementsAre(1, 2));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::Equal, Wide())), ElementsAre(5));
    EXPECT_THAT(table.Filtered(SlotCompare(kSlotRate, Op::LessOrEqual, 5.0)), ElementsAre(2));

    TDSExpression in;
    int column = in.AddColumn(kSlotRate);
    in.SetRoot(
        in.AddIn(column, {in.AddConstant(std::int64_t{5}), in.AddConstant(TBcd::FromUnscaled(195, 1))}));
    EXPECT_THAT(table.Filtered(in), ElementsAre(2, 4));

    TDSExpression notNineteen = SlotCompare(kSlotRate, Op::Equal, std::int64_t{19});
    notNineteen.SetRoot(notNineteen.AddUnary(TDSNodeKind::Not, notNineteen.Root()));
    EXPECT_THAT(table.Filtered(notNineteen), ElementsAre(2, 4, 5)) << "a null rate is unknown, also negated";
}

TEST(DSFilterSlots, TextsCompareByCharactersFoldingSpanishLettersInlineAndOutOfLine) {
    SlotTable table;
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "ñu", true)), ElementsAre(1, 2));
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "Ñu")), ElementsAre(1));
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "ñ*")), ElementsAre(2));
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "Ñ*", true)), ElementsAre(1, 2));
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Less, "ABCDX")), ElementsAre(5));
    TDSExpression like;
    like.SetRoot(like.AddBinary(TDSNodeKind::Like, like.AddColumn(kCode), like.AddConstant("%U")));
    like.CaseInsensitive = true;
    EXPECT_THAT(table.Filtered(like), ElementsAre(1, 2));

    EXPECT_THAT(table.Filtered(SlotCompare(kNote, Op::Equal, "ÉSTE", true)), ElementsAre(2));
    EXPECT_THAT(table.Filtered(SlotCompare(kNote, Op::Equal, "ANA")), ElementsAre(4));
    TDSExpression longLike;
    longLike.SetRoot(
        longLike.AddBinary(TDSNodeKind::Like, longLike.AddColumn(kNote), longLike.AddConstant("éste%")));
    longLike.CaseInsensitive = true;
    EXPECT_THAT(table.Filtered(longLike), ElementsAre(1, 2));
}

TEST(DSFilterSlots, AConstantLongerThanItsFieldFindsNothingItIsNotAPrefixOf) {
    SlotTable table;
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "ABCDX")), ElementsAre());
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "ABCDX*")), ElementsAre());
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "abcdx", true)), ElementsAre());
    EXPECT_THAT(table.Filtered(SlotCompare(kCode, Op::Equal, "ABC*")), ElementsAre(5));
    EXPECT_EQ(table.Located(SlotCompare(kCode, Op::Equal, "ABCDX")), -1);
}

TEST(DSFilterSlots, LocateReadsTheSameSlotsAsFilters) {
    SlotTable table;
    EXPECT_EQ(table.Located(SlotCompare(kCode, Op::Equal, "ÑU", true)), 1);
    EXPECT_EQ(table.Located(SlotCompare(kSlotRate, Op::Equal, TBcd::FromUnscaled(195, 1))), 4);
    EXPECT_EQ(table.Located(SlotCompare(kSlotRate, Op::Equal, TBcd::FromUnscaled(50000, 4))), 2);
    EXPECT_EQ(table.Located(SlotCompare(kCount, Op::Equal, std::int64_t{3000000000})), 4);
    EXPECT_EQ(table.Located(SlotCompare(kStamp, Op::Equal, kStamp1Later)), 4);
    EXPECT_EQ(table.Located(SlotCompare(kDay, Op::Equal, EncodeDate(2026, 12, 5))), 5);
    EXPECT_EQ(table.Located(SlotCompare(kNote, Op::Equal, "éstE", true)), 2);
    EXPECT_EQ(table.Located(SlotCompare(kFlag, Op::Equal, false)), 2);
    TDSExpression nullCount;
    nullCount.SetRoot(nullCount.AddUnary(TDSNodeKind::IsNull, nullCount.AddColumn(kCount)));
    EXPECT_EQ(table.Located(nullCount), 3);
}

}  // namespace
}  // namespace contado
