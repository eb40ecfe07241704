#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/data/client/clienttablefixture.h"

// Values going from a client table through its provider into the database and back, under the
// regional settings the program may meet.

namespace contado {
namespace {

using ::testing::ElementsAre;

class ClientTableRoundTrip : public ClientTableTest {
  protected:
    std::string Stored(const std::string& column, int id) {
        return Scalar("select coalesce(cast(" + column +
                      " as varchar(40)), '-') from AJUSTE_CIERRE where "
                      "AJCI_ID = " +
                      std::to_string(id));
    }
    TField& Field(const char* name) { return CAjuste->FieldByName(name); }
};

TEST_F(ClientTableRoundTrip, MonthFirstDatesAndACommaSeparatorInFiltersLocateAndTexts) {
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    FormatSettings().DecimalSeparator = ',';
    SeedAdjustments();
    Execute("insert into AJUSTE_CIERRE values (5, '2026-12-09', '2026-12-31', 19.5, 0.8, null)");
    CAjuste->SetFilter("AJCI_FECINI = " + QuotedDateText(EncodeDate(2026, 12, 9)));
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(1, 2, 3, 5));

    EXPECT_TRUE(CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromRaw(195000))}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 5);
    EXPECT_EQ(Field("AJCI_PORC").AsString(), "19,5");
    EXPECT_EQ(Field("AJCI_FACTOR").AsString(), "0,8");
    EXPECT_EQ(Field("AJCI_FACTOR").AsCurrency().Raw(), 8000);
    EXPECT_EQ(Field("AJCI_FECFIN").AsString(), "12/31/2026");
    EXPECT_TRUE(CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromRaw(50000))}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 2);
    EXPECT_FALSE(CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromRaw(195001))}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 2);

    CAjuste->Edit();
    Field("AJCI_FACTOR").SetAsString("0,75");
    Field("AJCI_FECFIN").SetAsString("12/24/2026");
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(Stored("AJCI_FACTOR", 2), "0.7500");
    EXPECT_EQ(Stored("AJCI_FECFIN", 2), "2026-12-24");
}

TEST_F(ClientTableRoundTrip, AnInsertEditedAgainIsStoredOnceWithItsLastValues) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Insert();
    Field("AJCI_ID").SetAsInteger(20);
    Field("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 12));
    Field("AJCI_FECFIN").SetAsDateTime(EncodeDate(2026, 12, 13));
    Field("AJCI_PORC").SetAsCurrency(TCurrency::FromRaw(-1));
    Field("AJCI_FACTOR").SetAsCurrency(TCurrency::FromRaw(123456789012345));
    CAjuste->Post();
    CAjuste->Edit();
    Field("AJCI_PREFNO").SetAsString("CV");
    CAjuste->Post();
    CAjuste->Insert();
    Field("AJCI_ID").SetAsInteger(21);
    CAjuste->Post();
    CAjuste->Delete();  // the second insert, never sent

    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_THAT(updateErrors_, ElementsAre());
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 5);
    EXPECT_EQ(Stored("AJCI_FECINI", 20), "2026-12-12");
    EXPECT_EQ(Stored("AJCI_FECFIN", 20), "2026-12-13");
    EXPECT_EQ(Stored("AJCI_PORC", 20), "-0.0001");
    EXPECT_EQ(Stored("AJCI_FACTOR", 20), "12345678901.2345");
    EXPECT_EQ(Stored("AJCI_PREFNO", 20), "CV");

    CAjuste->Close();
    CAjuste->Open();
    ASSERT_TRUE(CAjuste->Locate("AJCI_ID", {std::int64_t{20}}, {}));
    EXPECT_EQ(Field("AJCI_PORC").AsString(), "-0.0001");
    EXPECT_EQ(Field("AJCI_FACTOR").AsString(), "12345678901.2345");
    EXPECT_EQ(Field("AJCI_FACTOR").AsCurrency().Raw(), 123456789012345);
}

TEST_F(ClientTableRoundTrip, ALoadedRowEditedAndThenDeletedIsMatchedByItsStoredValues) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Next();
    CAjuste->Edit();
    Field("AJCI_PREFNO").Clear();
    Field("AJCI_FACTOR").SetAsCurrency(TCurrency::FromRaw(5000));
    CAjuste->Post();
    CAjuste->Delete();
    CAjuste->Edit();
    Field("AJCI_PREFNO").Clear();
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_TRUE(updateErrors_.empty());
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 2"), 0);
    EXPECT_EQ(Stored("AJCI_PREFNO", 3), "-");
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 3);
}

TEST_F(ClientTableRoundTrip, DateFieldsKeepOnlyTheDateOfAValueWithATimeOfDay) {
    const TDateTime evening = EncodeDate(2026, 12, 9) + 0.75;
    CAjuste->SetFilter("AJCI_FECINI = " + QuotedDateText(evening));
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    CAjuste->Insert();
    Field("AJCI_ID").SetAsInteger(30);
    Field("AJCI_FECINI").SetAsDateTime(evening);
    Field("AJCI_FECFIN").SetAsDateTime(evening);
    CAjuste->Post();
    EXPECT_DOUBLE_EQ(Field("AJCI_FECINI").AsDateTime(), EncodeDate(2026, 12, 9));
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(30));
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(Stored("AJCI_FECINI", 30), "2026-12-09");
}

}  // namespace
}  // namespace contado
