#include <gtest/gtest.h>

#include "core/formatsettings.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "tests/data/dataset/memorydataset.h"

namespace contado {
namespace {

TBcd Decimal(const char* text) {
    TBcd value;
    TBcd::TryParse(text, '.', value);
    return value;
}

template <typename Action>
std::string MessageOf(Action action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

// The closing-adjustment table's persistent fields over one row, with a comma as decimal separator
// and day/month/year dates.
class Fields : public testing::Test {
  protected:
    Fields() : saved(FormatSettings()) {
        FormatSettings().DecimalSeparator = ',';
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        table.SetName("CAjuste");
        table.AddColumn(TFieldDef("AJCI_ID", ftInteger, 0, true));
        table.AddColumn(TFieldDef("AJCI_FECINI", ftDate));
        TFieldDef porc("AJCI_PORC", ftFMTBcd, 4);
        porc.SetPrecision(15);
        table.AddColumn(porc);
        table.AddColumn(TFieldDef("AJCI_PREFNO", ftString, 4));
        table.AddRow({std::int64_t{1}, EncodeDate(2024, 3, 5), Decimal("16.0000"), TNull{}});

        id.SetFieldName("AJCI_ID");
        id.SetDisplayLabel("Id.");
        fecini.SetFieldName("AJCI_FECINI");
        fecini.SetDisplayLabel("F.Desde");
        porc_.SetFieldName("AJCI_PORC");
        porc_.SetDisplayLabel("Porc");
        porc_.SetPrecision(15);
        porc_.SetSize(4);
        prefno.SetFieldName("AJCI_PREFNO");
        prefno.SetDisplayLabel("Pref.N/A");
        prefno.SetSize(4);
        for (TField* field : {static_cast<TField*>(&id), static_cast<TField*>(&fecini),
                              static_cast<TField*>(&porc_), static_cast<TField*>(&prefno)}) {
            field->SetDataSet(&table);
        }
        table.Open();
    }
    ~Fields() override { FormatSettings() = saved; }

    TFormatSettings saved;
    TComponent form;
    TMemoryDataSet table{&form};
    TIntegerField id{&form};
    TDateField fecini{&form};
    TFMTBCDField porc_{&form};
    TStringField prefno{&form};
};

TEST_F(Fields, DecimalTextUsesTheSystemSeparatorWithoutTrailingZeros) {
    EXPECT_EQ(porc_.Text(), "16");
    EXPECT_EQ(porc_.DisplayText(), "16");
    table.Edit();
    porc_.SetAsCurrency(TCurrency::FromRaw(8000));
    EXPECT_EQ(porc_.Text(), "0,8");
    porc_.SetText("12,3456789");
    EXPECT_EQ(porc_.AsCurrency().Raw(), 123457) << "normalised to the field's scale";
    porc_.SetText("0");
    EXPECT_EQ(porc_.Text(), "0");
    porc_.SetText("");
    EXPECT_TRUE(porc_.IsNull());
    EXPECT_EQ(porc_.Text(), "");
    EXPECT_EQ(MessageOf([&] { porc_.SetText("1.5"); }), "1.5 is not a valid BCD value");
    EXPECT_EQ(MessageOf([&] { porc_.SetText("123456789012"); }), "BCD overflow");
}

TEST_F(Fields, DecimalFormatsAndRange) {
    porc_.SetDisplayFormat("#,##0.00");
    porc_.SetEditFormat("0.####");
    table.Edit();
    porc_.SetAsCurrency(TCurrency::FromRaw(12345000));
    EXPECT_EQ(porc_.DisplayText(), "1.234,50");
    EXPECT_EQ(porc_.Text(), "1234,5");
    porc_.SetMinValue("0");
    porc_.SetMaxValue("100");
    EXPECT_EQ(MessageOf([&] { porc_.SetAsCurrency(TCurrency::FromRaw(1000010)); }),
              "100,001 is not a valid value for field 'Porc'. The allowed range is 0 to 100");
    porc_.SetAsCurrency(TCurrency::FromRaw(1000000));
    EXPECT_EQ(porc_.Text(), "100");
    EXPECT_TRUE(porc_.IsValidChar(','));
    EXPECT_FALSE(porc_.IsValidChar('.'));
    EXPECT_TRUE(porc_.IsValidCharacter(U'7'));
    EXPECT_FALSE(porc_.IsValidCharacter(U'½'));
    EXPECT_FALSE(porc_.IsValidCharacter(U'٣')) << "digits of other scripts are not ours";
    EXPECT_EQ(porc_.Alignment(), taRightJustify);
}

TEST_F(Fields, IntegerTextNamesTheFieldByItsLabel) {
    EXPECT_EQ(id.Text(), "1");
    table.Edit();
    EXPECT_EQ(MessageOf([&] { id.SetText("12x"); }), "'12x' is not a valid integer value for field 'Id.'");
    id.SetText("-42");
    EXPECT_EQ(id.AsInteger(), -42);
    id.SetText("");
    EXPECT_TRUE(id.IsNull());
    EXPECT_EQ(
        MessageOf([&] { id.SetAsLargeInt(3000000000); }),
        "3000000000 is not a valid value for field 'Id.'. The allowed range is -2147483648 to 2147483647");
    EXPECT_TRUE(id.IsValidChar('-'));
    EXPECT_FALSE(id.IsValidChar(','));
    EXPECT_EQ(id.Alignment(), taRightJustify);
}

TEST_F(Fields, DateTextFollowsTheShortDateFormat) {
    EXPECT_EQ(fecini.Text(), "05/03/2024");
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(fecini.Text(), "2024-03-05");
    fecini.SetDisplayFormat("dd 'de' mm");
    EXPECT_EQ(fecini.DisplayText(), "05 de 03");
    EXPECT_EQ(fecini.Text(), "2024-03-05") << "the edit text ignores the display format";
    table.Edit();
    fecini.SetText("2024-12-31");
    EXPECT_EQ(fecini.AsDateTime(), EncodeDate(2024, 12, 31));
    EXPECT_EQ(MessageOf([&] { fecini.SetText("2024-02-30"); }), "'2024-02-30' is not a valid date");
    fecini.SetAsDateTime(EncodeDate(2024, 1, 2) + 0.5);
    EXPECT_EQ(fecini.AsDateTime(), EncodeDate(2024, 1, 2)) << "a date field keeps the date only";
    EXPECT_EQ(fecini.Alignment(), taLeftJustify);
}

TEST_F(Fields, StringIsCutToItsSize) {
    EXPECT_TRUE(prefno.IsNull());
    EXPECT_EQ(prefno.Text(), "");
    table.Edit();
    prefno.SetAsString("ABCDEF");
    EXPECT_EQ(prefno.AsString(), "ABCD");
    EXPECT_TRUE(prefno.IsValidChar('%'));
    EXPECT_TRUE(prefno.IsValidCharacter(U'Ñ'));
    EXPECT_TRUE(fecini.IsValidCharacter(U'é'));
    EXPECT_FALSE(id.IsValidCharacter(U'Ñ'));
}

TEST_F(Fields, WritesNeedAnEditingDataSetAndAWritableField) {
    EXPECT_EQ(MessageOf([&] { prefno.SetAsString("X"); }), "CAjuste: Dataset not in edit or insert mode");
    prefno.SetReadOnly(true);
    table.Edit();
    EXPECT_EQ(MessageOf([&] { prefno.SetAsString("X"); }), "Field 'Pref.N/A' cannot be modified");
    EXPECT_EQ(MessageOf([&] { table.FieldByName("AJCI_FACTOR"); }), "CAjuste: Field 'AJCI_FACTOR' not found");
}

TEST_F(Fields, PersistentFieldsAreCheckedAgainstTheirColumns) {
    table.Close();
    EXPECT_EQ(porc_.FieldNo(), 0);
    prefno.SetSize(10);
    table.Open();
    EXPECT_EQ(prefno.Size(), 4) << "a text field longer than its column is shortened";
    EXPECT_EQ(porc_.FieldNo(), 3);
    table.Close();

    TDateField wrong(&form);
    wrong.SetFieldName("AJCI_PREFNO");
    prefno.SetDataSet(nullptr);
    wrong.SetDataSet(&table);
    EXPECT_EQ(MessageOf([&] { table.Open(); }),
              "CAjuste: Type mismatch for field 'AJCI_PREFNO', expecting: Date actual: String");
    EXPECT_FALSE(table.Active());
}

TEST_F(Fields, DefaultFieldsCarryTheColumnAttributes) {
    TMemoryDataSet plain(&form);
    TFieldDef porc("AJCI_PORC", ftFMTBcd, 4);
    porc.SetPrecision(15);
    plain.AddColumn(TFieldDef("AJCI_ID", ftInteger, 0, true));
    plain.AddColumn(porc);
    plain.AddColumn(TFieldDef("AJCI_PREFNO", ftFixedChar, 4));
    plain.Open();
    ASSERT_EQ(plain.FieldCount(), 3);
    EXPECT_NE(dynamic_cast<TIntegerField*>(plain.Fields(0)), nullptr);
    EXPECT_TRUE(plain.Fields(0)->Required());
    auto* decimal = dynamic_cast<TFMTBCDField*>(plain.Fields(1));
    ASSERT_NE(decimal, nullptr);
    EXPECT_EQ(decimal->Precision(), 15);
    EXPECT_EQ(decimal->Size(), 4);
    auto* text = dynamic_cast<TStringField*>(plain.Fields(2));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->FixedChar());
    EXPECT_EQ(text->Size(), 4);
}

}  // namespace
}  // namespace contado
