#include "platform/dsengine/dsrecordlayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/utf8text.h"
#include "platform/dsengine/dsvaluecompare.h"

namespace contado {
namespace {

// One column of every kind of slot, a long text column and a blob column.
std::vector<TPacketColumn> AllColumns() {
    return {TPacketColumn::Make("I", ftInteger),       TPacketColumn::Make("S", ftSmallint),
            TPacketColumn::Make("L", ftLargeint),      TPacketColumn::Make("F", ftFloat),
            TPacketColumn::Make("D", ftDate),          TPacketColumn::Make("T", ftTime),
            TPacketColumn::Make("DT", ftDateTime),     TPacketColumn::Make("B", ftBoolean),
            TPacketColumn::Make("N", ftFMTBcd, 4, 19), TPacketColumn::Make("C", ftBCD, 2, 10),
            TPacketColumn::Make("P", ftString, 4),     TPacketColumn::Make("LONG", ftString, 200),
            TPacketColumn::Make("M", ftMemo),          TPacketColumn::Make("BLOB", ftBlob)};
}

class RecordLayoutTest : public ::testing::Test {
  protected:
    TDSRecordLayout layout{AllColumns()};
    TDSOutOfLineValues outOfLine;
    std::vector<std::byte> record = std::vector<std::byte>(layout.RecordSize());
    std::vector<std::byte> other = std::vector<std::byte>(layout.RecordSize());

    int Column(const std::string& name) const {
        const std::vector<TPacketColumn> columns = AllColumns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].Name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    TVariant RoundTrip(const std::string& name, const TVariant& value) {
        layout.Write(record.data(), Column(name), value, outOfLine);
        return layout.Read(record.data(), Column(name), outOfLine);
    }
};

TEST_F(RecordLayoutTest, FreshRecordHasEveryColumnUnassigned) {
    for (int column = 0; column < layout.ColumnCount(); ++column) {
        EXPECT_TRUE(VarIsUnassigned(layout.Read(record.data(), column, outOfLine)));
    }
}

TEST_F(RecordLayoutTest, EveryFieldTypeRoundTrips) {
    const std::vector<std::pair<std::string, TVariant>> values = {
        {"I", std::int64_t{-2147483648}},
        {"S", std::int64_t{-7}},
        {"L", std::numeric_limits<std::int64_t>::max()},
        {"F", 3.25},
        {"D", EncodeDate(2025, 6, 1)},
        {"T", EncodeTime(23, 59, 59, 999)},
        {"DT", EncodeDate(1899, 12, 30) - 1.5},
        {"B", true},
        {"N", TBcd::FromUnscaled(-123456789012, 4)},
        {"C", TBcd::FromUnscaled(5, 2)},
        {"P", std::string("F9")},
        {"LONG", std::string(200, 'x')},
        {"M", std::string("a memo")},
        {"BLOB", std::string("\0\1\2", 3)}};
    for (const auto& [name, value] : values) {
        layout.Write(record.data(), Column(name), value, outOfLine);
    }
    for (const auto& [name, value] : values) {
        const TVariant read = layout.Read(record.data(), Column(name), outOfLine);
        EXPECT_EQ(read.index(), value.index()) << name;
        EXPECT_EQ(read, value) << name;
    }
}

TEST_F(RecordLayoutTest, NullsAndUnassignedAreKeptApart) {
    EXPECT_TRUE(VarIsNull(RoundTrip("I", TNull{})));
    EXPECT_TRUE(VarIsUnassigned(RoundTrip("I", TVariant())));
    EXPECT_TRUE(VarIsNull(RoundTrip("LONG", TNull{})));
    EXPECT_EQ(RoundTrip("I", std::int64_t{0}), TVariant(std::int64_t{0}));
    EXPECT_TRUE(VarIsNull(RoundTrip("I", TNull{})));
    EXPECT_TRUE(VarIsUnassigned(layout.Read(record.data(), Column("S"), outOfLine)));
}

TEST_F(RecordLayoutTest, DecimalsOfNineteenDigitsKeepTheirScale) {
    const TBcd largest = TBcd::FromUnscaled(std::numeric_limits<std::int64_t>::max(), 4);
    const TVariant read = RoundTrip("N", largest);
    EXPECT_EQ(std::get<TBcd>(read).UnscaledValue(), largest.UnscaledValue());
    EXPECT_EQ(std::get<TBcd>(read).Scale(), 4);
    const TBcd wider = TBcd::FromUnscaled(TBcd::Unscaled{std::numeric_limits<std::int64_t>::max()} * 100, 4);
    EXPECT_EQ(std::get<TBcd>(RoundTrip("N", wider)).UnscaledValue(), wider.UnscaledValue());
    EXPECT_EQ(std::get<TBcd>(RoundTrip("C", TBcd::FromUnscaled(12345, 3))).Scale(), 3);
}

TEST_F(RecordLayoutTest, TimesKeepTenThousandthsOfASecond) {
    const TDateTime time = EncodeDate(2024, 2, 29) + EncodeTime(12, 34, 56, 789) + 0.0001 / 86400.0;
    const TVariant read = RoundTrip("DT", time);
    EXPECT_EQ(std::get<double>(read), time);
    EXPECT_EQ(TimeUnitsOfDay(std::get<double>(read)), TimeUnitsOfDay(time));
}

TEST_F(RecordLayoutTest, Utf8TextsOfTheColumnSizeStayWhole) {
    const std::string four = "ñ€😀a";
    EXPECT_EQ(std::get<std::string>(RoundTrip("P", four)), four);
    const std::string cut(LeftCharacters("😀😀😀😀😀", 4));
    EXPECT_EQ(std::get<std::string>(RoundTrip("P", cut)), cut);
    EXPECT_EQ(std::get<std::string>(RoundTrip("P", std::string())), std::string());
}

TEST_F(RecordLayoutTest, ValuesThatDoNotFitTheirSlotGoOutOfLine) {
    const std::string tooLong(100, 'z');
    EXPECT_EQ(RoundTrip("P", tooLong), TVariant(tooLong));
    EXPECT_EQ(RoundTrip("I", std::int64_t{1} << 40), TVariant(std::int64_t{1} << 40));
    EXPECT_EQ(RoundTrip("I", std::string("not a number")), TVariant(std::string("not a number")));
    EXPECT_EQ(RoundTrip("D", std::int64_t{5}), TVariant(std::int64_t{5}));
    EXPECT_EQ(RoundTrip("P", std::string("ok")), TVariant(std::string("ok")));
    EXPECT_EQ(RoundTrip("I", std::int64_t{8}), TVariant(std::int64_t{8}));
}

TEST_F(RecordLayoutTest, CopiesOwnTheirOutOfLineValues) {
    layout.Write(record.data(), Column("LONG"), std::string(150, 'a'), outOfLine);
    layout.Copy(record.data(), other.data(), outOfLine);
    layout.Write(record.data(), Column("LONG"), std::string(150, 'b'), outOfLine);
    EXPECT_EQ(layout.Read(other.data(), Column("LONG"), outOfLine), TVariant(std::string(150, 'a')));
    layout.Release(record.data(), outOfLine);
    EXPECT_TRUE(VarIsUnassigned(layout.Read(record.data(), Column("LONG"), outOfLine)));
    EXPECT_EQ(layout.Read(other.data(), Column("LONG"), outOfLine), TVariant(std::string(150, 'a')));
}

TEST_F(RecordLayoutTest, FillWritesAClearRecordAsWriteDoesColumnByColumn) {
    const std::vector<TVariant> values = {std::int64_t{1} << 40,
                                          TNull{},
                                          std::int64_t{-3},
                                          2.5,
                                          EncodeDate(2025, 6, 1),
                                          TVariant(),
                                          0.75,
                                          false,
                                          TBcd::FromUnscaled(190000, 4),
                                          TBcd::FromUnscaled(5, 0),
                                          std::string("Ñandú"),
                                          std::string(120, 'l'),
                                          TNull{},
                                          std::string("\0\1", 2)};
    layout.Fill(record.data(), values.data(), outOfLine);
    for (int column = 0; column < layout.ColumnCount(); ++column) {
        layout.Write(other.data(), column, values[column], outOfLine);
    }
    for (int column = 0; column < layout.ColumnCount(); ++column) {
        const TVariant filled = layout.Read(record.data(), column, outOfLine);
        EXPECT_EQ(filled.index(), values[column].index()) << column;
        EXPECT_EQ(filled, values[column]) << column;
        EXPECT_EQ(filled, layout.Read(other.data(), column, outOfLine)) << column;
    }
}

TEST_F(RecordLayoutTest, ViewsShowEveryValueWhereItLiesAsItReads) {
    const std::vector<std::pair<std::string, TVariant>> values = {
        {"I", std::int64_t{-2147483648}},
        {"S", std::int64_t{1} << 40},
        {"L", std::numeric_limits<std::int64_t>::min()},
        {"F", -3.25},
        {"T", EncodeTime(23, 59, 59, 999)},
        {"B", true},
        {"N", TBcd::FromUnscaled(-123456789012, 4)},
        {"C", TBcd::FromUnscaled(TBcd::Unscaled{std::numeric_limits<std::int64_t>::max()} * 100, 2)},
        {"P", std::string("ñ€😀a")},
        {"LONG", std::string(200, 'x')},
        {"M", std::string("a memo")}};
    for (const auto& [name, value] : values) {
        layout.Write(record.data(), Column(name), value, outOfLine);
    }
    layout.Write(record.data(), Column("D"), TNull{}, outOfLine);
    for (const auto& [name, value] : values) {
        const TDSValueView view = layout.View(record.data(), Column(name), outOfLine);
        const TVariant readValue = layout.Read(record.data(), Column(name), outOfLine);
        const TDSValueView read = TDSValueView::Of(readValue);
        int order = 1;
        EXPECT_EQ(view.Kind(), read.Kind()) << name;
        EXPECT_TRUE(CompareValues(view, read, false, order)) << name;
        EXPECT_EQ(order, 0) << name;
    }
    EXPECT_EQ(layout.View(record.data(), Column("P"), outOfLine).TextValue(), "ñ€😀a");
    EXPECT_TRUE(layout.View(record.data(), Column("D"), outOfLine).IsNull());
    EXPECT_TRUE(layout.View(record.data(), Column("DT"), outOfLine).IsNull()) << "unassigned reads as null";
}

TEST_F(RecordLayoutTest, ConstantsTakeTheFormOfTheSlotOnlyWhenTheyConvertExactly) {
    using Kind = TDSValueView::TKind;
    TDSValueView form;
    ASSERT_TRUE(layout.SlotForm(Column("I"), TDSValueView::Decimal(200, 2), form));
    EXPECT_EQ(form.Kind(), Kind::Integer);
    EXPECT_EQ(form.IntegerValue(), 2);
    EXPECT_FALSE(layout.SlotForm(Column("I"), TDSValueView::Decimal(250, 2), form));
    EXPECT_FALSE(layout.SlotForm(Column("I"), TDSValueView::Float(2.0), form));

    ASSERT_TRUE(layout.SlotForm(Column("F"), TDSValueView::Integer(3), form));
    EXPECT_EQ(form.Kind(), Kind::Float);
    EXPECT_EQ(form.FloatValue(), 3.0);
    ASSERT_TRUE(layout.SlotForm(Column("DT"), TDSValueView::Float(0.25), form));
    EXPECT_EQ(form.FloatValue(), 0.25);

    ASSERT_TRUE(layout.SlotForm(Column("N"), TDSValueView::Integer(19), form));
    EXPECT_EQ(form.Kind(), Kind::Decimal);
    EXPECT_EQ(form.Unscaled(), 190000);
    EXPECT_EQ(form.Scale(), 4);
    ASSERT_TRUE(layout.SlotForm(Column("C"), TDSValueView::Decimal(15000, 4), form));
    EXPECT_EQ(form.Unscaled(), 150);
    EXPECT_EQ(form.Scale(), 2);
    EXPECT_FALSE(layout.SlotForm(Column("N"), TDSValueView::Decimal(1900001, 5), form));
    EXPECT_FALSE(layout.SlotForm(Column("N"), TDSValueView::Float(19.0), form));
    const TBcd wide = TBcd::FromUnscaled(TBcd::Unscaled{std::numeric_limits<std::int64_t>::max()} * 100, 0);
    EXPECT_FALSE(layout.SlotForm(Column("N"), TDSValueView::Of(wide), form));
    EXPECT_FALSE(
        layout.SlotForm(Column("N"), TDSValueView::Integer(std::numeric_limits<std::int64_t>::max()), form));

    EXPECT_TRUE(layout.SlotForm(Column("B"), TDSValueView::Boolean(true), form));
    EXPECT_FALSE(layout.SlotForm(Column("B"), TDSValueView::Integer(1), form));
    EXPECT_FALSE(layout.SlotForm(Column("P"), TDSValueView::Text("ab"), form)) << "texts compare as they are";
    EXPECT_FALSE(layout.SlotForm(Column("LONG"), TDSValueView::Integer(1), form));
}

TEST(RecordLayout, ColumnsOfAnySizeKeepTheirTexts) {
    const TDSRecordLayout layout({TPacketColumn::Make("HUGE", ftString, std::numeric_limits<int>::max()),
                                  TPacketColumn::Make("NEGATIVE", ftString, -5),
                                  TPacketColumn::Make("EMPTY", ftString, 0)});
    TDSOutOfLineValues outOfLine;
    std::vector<std::byte> record(layout.RecordSize());
    for (int column = 0; column < layout.ColumnCount(); ++column) {
        layout.Write(record.data(), column, std::string("text ") + std::to_string(column), outOfLine);
    }
    for (int column = 0; column < layout.ColumnCount(); ++column) {
        EXPECT_EQ(layout.Read(record.data(), column, outOfLine),
                  TVariant(std::string("text ") + std::to_string(column)));
    }
}

TEST(RecordLayout, ShortTextsAreInlineAndTheRecordIsCompact) {
    const TDSRecordLayout layout(
        {TPacketColumn::Make("AJCI_ID", ftInteger), TPacketColumn::Make("AJCI_FECINI", ftDate),
         TPacketColumn::Make("AJCI_FECFIN", ftDate), TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4, 15),
         TPacketColumn::Make("AJCI_FACTOR", ftFMTBcd, 4, 15),
         TPacketColumn::Make("AJCI_PREFNO", ftString, 4)});
    EXPECT_EQ(layout.RecordSize(), 2u + 4u + 8u + 8u + 9u + 9u + 17u);
}

}  // namespace
}  // namespace contado
