#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/fields/integerfield.h"
#include "tests/data/client/clienttablefixture.h"

// Opening client tables through their providers, persistent fields, packets and closing.

namespace contado {
namespace {

using ::testing::ElementsAre;

std::string OpenError(TClientDataSet* table) {
    try {
        table->Open();
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return "";
}

TEST_F(ClientTableTest, OpensThroughTheProviderOfItsOwnerFoundByNameWithoutRegardToCase) {
    FillPlannedAdjustments(3);
    CAjusteAu->SetProviderName("pajusteau");
    CAjusteAu->Open();
    EXPECT_EQ(CAjusteAu->State(), dsBrowse);
    EXPECT_EQ(CAjusteAu->RecordCount(), 3);
    EXPECT_EQ(CAjusteAu->FieldCount(), 6);
    EXPECT_EQ(CAjusteAu->FieldByName("AJCI_PORC").AsCurrency().Raw(), 190000);
    EXPECT_EQ(CAjusteAu->FieldByName("AJCI_FECFIN").AsDateTime(), EncodeDate(2024, 12, 31));
    CAjusteAu->Close();

    CAjusteAu->SetProviderName("PMissing");
    EXPECT_EQ(OpenError(CAjusteAu), "CAjusteAu: Missing data provider or data packet");
    EXPECT_FALSE(CAjusteAu->Active());
    CAjusteAu->SetProviderName("PAjusteAu");
    PAjusteAu->SetDataSet(CAjusteAu);
    EXPECT_EQ(OpenError(CAjusteAu), "CAjusteAu: Circular provider references not allowed");
}

TEST_F(ClientTableTest, PersistentFieldsAreBoundByNameAndCheckedAgainstTheirColumns) {
    SeedAdjustments();
    CAjuste->Open();
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PORC").DisplayName(), "Porc");
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PORC").AsString(), "0");
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PREFNO").AsString(), "FV");
    CAjuste->Close();

    delete CAjuste->FindField("AJCI_PREFNO");
    auto* wrong = new TIntegerField(&form_);
    wrong->SetFieldName("AJCI_PREFNO");
    wrong->SetDataSet(CAjuste);
    EXPECT_EQ(OpenError(CAjuste),
              "CAjuste: Type mismatch for field 'AJCI_PREFNO', expecting: Integer actual: String");
}

TEST_F(ClientTableTest, FetchesPacketsOnDemandAndEverythingBeforeLastLocateAndFilter) {
    FillPlannedAdjustments(2500);
    CAjusteAu->Open();
    EXPECT_EQ(requests_, 1);
    EXPECT_EQ(CAjusteAu->RecordCount(), 1000);
    int rows = 0;
    for (; !CAjusteAu->Eof(); CAjusteAu->Next()) {
        ++rows;
    }
    EXPECT_EQ(rows, 2500);
    EXPECT_EQ(requests_, 3);
    CAjusteAu->Close();

    requests_ = 0;
    CAjusteAu->Open();
    CAjusteAu->Last();
    EXPECT_EQ(requests_, 2);
    EXPECT_EQ(CurrentId(CAjusteAu), 2500);
    EXPECT_EQ(CAjusteAu->RecNo(), 2500);
    CAjusteAu->Close();

    requests_ = 0;
    CAjusteAu->Open();
    EXPECT_TRUE(CAjusteAu->Locate("AJCI_ID", {std::int64_t{2400}}, {}));
    EXPECT_EQ(requests_, 2);
    CAjusteAu->Close();

    requests_ = 0;
    CAjusteAu->SetFilter("AJCI_ID > 2498");
    CAjusteAu->SetFiltered(true);
    CAjusteAu->Open();
    EXPECT_EQ(requests_, 2);
    EXPECT_THAT(VisibleIds(CAjusteAu), ElementsAre(2499, 2500));
}

TEST_F(ClientTableTest, TheRestArrivesInPartsBehindTheRowsAlreadyThereInOrder) {
    FillPlannedAdjustments(2500);
    CAjusteAu->Open();
    CAjusteAu->MoveBy(499);
    ASSERT_EQ(CurrentId(CAjusteAu), 500);
    const TBookmark mark = CAjusteAu->GetBookmark();
    CAjusteAu->Last();
    EXPECT_EQ(requests_, 2);
    EXPECT_EQ(CAjusteAu->RecNo(), 2500);
    EXPECT_EQ(CAjusteAu->RecordCount(), 2500);
    const std::vector<int> ids = VisibleIds(CAjusteAu);
    ASSERT_EQ(ids.size(), 2500u);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ASSERT_EQ(ids[i], static_cast<int>(i) + 1);
    }
    CAjusteAu->GotoBookmark(mark);
    EXPECT_EQ(CurrentId(CAjusteAu), 500);
}

TEST_F(ClientTableTest, AResultOfExactly1000RowsIsFollowedByOneEmptyRequest) {
    FillPlannedAdjustments(1000);
    CAjusteAu->Open();
    EXPECT_EQ(requests_, 1);
    EXPECT_TRUE(TAjusteAu->Active());
    CAjusteAu->Last();
    EXPECT_EQ(requests_, 2);
    EXPECT_FALSE(TAjusteAu->Active());
    EXPECT_EQ(CAjusteAu->RecordCount(), 1000);
    CAjusteAu->Close();

    requests_ = 0;
    CAjusteAu->Open();
    CAjusteAu->MoveBy(999);
    EXPECT_EQ(requests_, 1);
    CAjusteAu->Next();
    EXPECT_EQ(requests_, 2);
    EXPECT_TRUE(CAjusteAu->Eof());
    EXPECT_EQ(CurrentId(CAjusteAu), 1000);
}

TEST_F(ClientTableTest, ClosingAsksTheProviderToResetUnlessThePacketSaysNot) {
    FillPlannedAdjustments(1000);
    CAjusteAu->Open();
    ASSERT_TRUE(TAjusteAu->Active());
    CAjusteAu->Close();
    EXPECT_FALSE(TAjusteAu->Active());

    PAjusteAu->SetOptions({poNoReset});
    CAjusteAu->Open();
    CAjusteAu->Close();
    EXPECT_TRUE(TAjusteAu->Active());
}

TEST_F(ClientTableTest, TheRateListReadsFixedPointRates) {
    CTarifas->Open();
    std::vector<std::int64_t> rates;
    for (; !CTarifas->Eof(); CTarifas->Next()) {
        rates.push_back(CTarifas->Fields(0)->AsCurrency().Raw());
    }
    EXPECT_THAT(rates, ElementsAre(0, 50000, 190000));
}

TEST(ClientTableCommandText, CollectsItsParametersKeepingValuesOfTheSameName) {
    TClientDataSet table;
    table.Params().Add(TParam("DAY", ftDate, EncodeDate(2026, 12, 1)));
    table.SetCommandText("select * from t where a = :DAY and b = ':skip' and c = :Other or d = :day");
    ASSERT_EQ(table.Params().Count(), 2);
    EXPECT_EQ(table.Params()[0].Name(), "DAY");
    EXPECT_EQ(std::get<double>(table.Params()[0].Value()), EncodeDate(2026, 12, 1));
    EXPECT_EQ(table.Params()[1].Name(), "Other");
    table.SetCommandText("");
    EXPECT_EQ(table.Params().Count(), 2);
}

}  // namespace
}  // namespace contado
