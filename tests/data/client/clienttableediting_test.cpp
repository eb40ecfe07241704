#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dsengine/dsstatus.h"
#include "tests/data/client/clienttablefixture.h"

// Filtering, deleting, inserting, posting and moving in client tables; the change log until it is applied.

namespace contado {
namespace {

using ::testing::ElementsAre;

std::string Failure(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return "";
}

TEST_F(ClientTableTest, AFilterDateWithoutRowsIsAtItsEndAndEmptyAtOnce) {
    SeedAdjustments();
    CAjuste->SetFilter("AJCI_FECINI = '01/01/2030'");
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    EXPECT_TRUE(CAjuste->Eof());
    EXPECT_TRUE(CAjuste->IsEmpty());
    EXPECT_EQ(CAjuste->RecordCount(), 0);
    CAjuste->SetFiltered(false);
    EXPECT_EQ(CAjuste->RecordCount(), 4);
}

TEST_F(ClientTableTest, DeletingUntilTheEndRemovesEveryVisibleRowAndNoHiddenOne) {
    SeedAdjustments();
    CAjuste->SetFilter("AJCI_FECINI = '09/12/2026'");
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    EXPECT_EQ(CAjuste->RecordCount(), 3);
    int deletions = 0;
    while (!CAjuste->Eof() && deletions < 10) {
        CAjuste->Delete();
        ++deletions;
    }
    EXPECT_EQ(deletions, 3);
    EXPECT_TRUE(CAjuste->IsEmpty());
    EXPECT_EQ(CAjuste->ChangeCount(), 3);
    CAjuste->SetFiltered(false);
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(4));
}

TEST_F(ClientTableTest, SeedingTheFirstDayStoresExactlyOneRowPerRate) {
    SeedAdjustments();
    SeedLikeF5(EncodeDate(2026, 12, 9), EncodeDate(2026, 12, 15));
    EXPECT_EQ(CAjuste->RecordCount(), 3);
    EXPECT_EQ(CAjuste->ChangeCount(), 6);
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_TRUE(updateErrors_.empty());
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_EQ(CAjuste->RecordCount(), 3);
    CAjuste->Close();

    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-09'"), 3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-09' and AJCI_FECFIN = '2026-12-15' and "
                    "AJCI_FACTOR = 0.8 and AJCI_PREFNO is null and AJCI_ID > 100"),
              3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_PORC in (0, 5, 19) and AJCI_FECINI = '2026-12-09'"), 3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 4 and AJCI_FACTOR = 1 and AJCI_PREFNO = 'FV'"), 1);

    // Seeding again starts from the stored rows and ends with the same day.
    SeedLikeF5(EncodeDate(2026, 12, 9), EncodeDate(2026, 12, 15));
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-09'"), 3);
}

TEST_F(ClientTableTest, ARowChangedOutOfTheFilterLeavesTheViewAndIsStillApplied) {
    SeedAdjustments();
    CAjuste->SetFilter("AJCI_FECINI = '09/12/2026'");
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_FECINI").SetAsString("20/12/2026");
    CAjuste->Post();
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(2, 3));
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1 and AJCI_FECINI = '2026-12-20'"), 1);
}

TEST_F(ClientTableTest, ClosingWithUnappliedChangesLosesThem) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Delete();
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_FACTOR").SetAsCurrency(TCurrency::FromRaw(5000));
    CAjuste->Post();
    InsertAdjustment(50, EncodeDate(2026, 12, 30), 0);
    EXPECT_EQ(CAjuste->ChangeCount(), 3);
    CAjuste->Close();
    EXPECT_EQ(applies_, 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FACTOR = 1"), 4);
    CAjuste->Open();
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(1, 2, 3, 4));
}

TEST_F(ClientTableTest, PostingWithoutAnIdFailsThroughOnPostErrorAndStaysInInsertState) {
    std::vector<std::string> messages;
    CAjuste->OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
        messages.push_back(error.Message());
        action = daAbort;
    };
    CAjuste->Open();
    CAjuste->Insert();
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 9));
    EXPECT_THROW(CAjuste->Post(), EAbort);
    EXPECT_THAT(messages, ElementsAre("Field 'AJCI_ID' must have a value"));
    EXPECT_EQ(CAjuste->State(), dsInsert);
    EXPECT_EQ(CAjuste->ChangeCount(), 0);

    CAjuste->OnPostError = nullptr;
    EXPECT_EQ(Failure([&] { CAjuste->Post(); }), "Field 'AJCI_ID' must have a value");
    CAjuste->FieldByName("AJCI_ID").SetAsInteger(0);
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ChangeCount(), 1);
    EXPECT_EQ(CAjuste->State(), dsBrowse);
}

TEST_F(ClientTableTest, OperationsThePacketDisablesFailWithTheirMessages) {
    SeedAdjustments();
    PAjuste->SetOptions({poDisableEdits, poDisableInserts, poDisableDeletes});
    CAjuste->Open();
    EXPECT_EQ(Failure([&] { CAjuste->Edit(); }), "CAjuste: Modifications are not allowed");
    EXPECT_EQ(Failure([&] { CAjuste->Insert(); }), "CAjuste: Inserts are not allowed");
    EXPECT_EQ(Failure([&] { CAjuste->Append(); }), "CAjuste: Inserts are not allowed");
    EXPECT_EQ(Failure([&] { CAjuste->Delete(); }), "CAjuste: Deletes are not allowed");
    EXPECT_EQ(CAjuste->State(), dsBrowse);
    EXPECT_EQ(CAjuste->ChangeCount(), 0);

    int deleteErrors = 0;
    CAjuste->OnDeleteError = [&](TDataSet*, EDatabaseError&, TDataAction& action) {
        action = ++deleteErrors < 3 ? daRetry : daAbort;
    };
    EXPECT_THROW(CAjuste->Delete(), EAbort);
    EXPECT_EQ(deleteErrors, 3);
}

TEST_F(ClientTableTest, EngineFailuresRaiseEDBClientWithTheEngineText) {
    SeedAdjustments();
    PAjuste->SetOptions({poReadOnly});
    CAjuste->Open();
    EXPECT_FALSE(CAjuste->CanModify());
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("CV");
    try {
        CAjuste->Post();
        ADD_FAILURE();
    } catch (const EDBClient& error) {
        EXPECT_EQ(error.Message(), "Dataset is read-only");
        EXPECT_EQ(error.ErrorCode(), dsstatus::kReadOnly);
    }
    EXPECT_EQ(CAjuste->State(), dsEdit);
}

TEST_F(ClientTableTest, RecordNumbersBookmarksAppendAndPrior) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->SetRecNo(3);
    EXPECT_EQ(CurrentId(CAjuste), 3);
    EXPECT_EQ(CAjuste->RecNo(), 3);
    TBookmark third = CAjuste->GetBookmark();
    CAjuste->Prior();
    EXPECT_EQ(CurrentId(CAjuste), 2);
    TBookmark second = CAjuste->GetBookmark();
    EXPECT_LT(CAjuste->CompareBookmarks(second, third), 0);
    EXPECT_GT(CAjuste->CompareBookmarks(TBookmark{}, third), 0);
    EXPECT_EQ(CAjuste->CompareBookmarks(TBookmark{}, TBookmark{}), 0);

    CAjuste->Append();
    EXPECT_EQ(CAjuste->RecNo(), -1);
    CAjuste->FieldByName("AJCI_ID").SetAsInteger(5);
    CAjuste->Post();
    EXPECT_EQ(CAjuste->RecNo(), 5);
    CAjuste->GotoBookmark(third);
    EXPECT_EQ(CurrentId(CAjuste), 3);
    CAjuste->Delete();
    EXPECT_FALSE(CAjuste->BookmarkValid(third));
    EXPECT_TRUE(CAjuste->BookmarkValid(second));
    EXPECT_EQ(CurrentId(CAjuste), 4);

    InsertAdjustment(10, EncodeDate(2026, 12, 20), 0);
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(1, 2, 10, 4, 5));
    EXPECT_EQ(CAjuste->RecordCount(), 5);
}

TEST_F(ClientTableTest, LocateWritesAConditionPerFieldType) {
    SeedAdjustments();
    Execute("insert into AJUSTE_CIERRE values (7, '2026-12-11', null, 5, 1, 'CA')");
    CAjuste->Open();
    EXPECT_TRUE(CAjuste->Locate("AJCI_ID", {std::int64_t{4}}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 4);
    EXPECT_TRUE(CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromRaw(190000))}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 3);
    EXPECT_TRUE(CAjuste->Locate("AJCI_FECINI;AJCI_PORC", {EncodeDate(2026, 12, 11), TBcd::FromInt64(5)}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 7);
    EXPECT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("FV")}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 1);
    EXPECT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("c")}, {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentId(CAjuste), 7);
    EXPECT_TRUE(CAjuste->Locate("AJCI_FECFIN", {TNull{}}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 7);

    CAjuste->First();
    EXPECT_FALSE(CAjuste->Locate("AJCI_ID", {std::int64_t{99}}, {}));
    EXPECT_FALSE(CAjuste->Locate("AJCI_PREFNO", {std::string("c")}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 1);
    EXPECT_EQ(Failure([&] { CAjuste->Locate("NOPE", {std::int64_t{1}}, {}); }),
              "CAjuste: Field 'NOPE' not found");

    // Only visible rows are searched.
    CAjuste->SetFilter("AJCI_ID < 4");
    CAjuste->SetFiltered(true);
    EXPECT_FALSE(CAjuste->Locate("AJCI_ID", {std::int64_t{4}}, {}));
    EXPECT_TRUE(CAjuste->Locate("AJCI_ID", {std::int64_t{2}}, {}));
}

TEST_F(ClientTableTest, LocateValuesCannotChangeTheConditionTheyGoInto) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Last();
    const int last = CurrentId(CAjuste);
    // A text for a number field must be a number; a quote in a date text stays inside its constant.
    EXPECT_EQ(Failure([&] { CAjuste->Locate("AJCI_ID", {std::string("99 or AJCI_ID = 1")}, {}); }),
              "'99 or AJCI_ID = 1' is not a valid value for field 'AJCI_ID'");
    EXPECT_NE(Failure([&] { CAjuste->Locate("AJCI_FECINI", {std::string("x' or AJCI_ID = '1")}, {}); }), "");
    EXPECT_EQ(CurrentId(CAjuste), last);
    EXPECT_TRUE(CAjuste->Locate("AJCI_ID", {std::string("2")}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 2);
    // Tiny and huge floating values are written without an exponent.
    EXPECT_FALSE(CAjuste->Locate("AJCI_PORC", {0.00001}, {}));
    EXPECT_FALSE(CAjuste->Locate("AJCI_PORC", {1e20}, {}));
}

}  // namespace
}  // namespace contado
