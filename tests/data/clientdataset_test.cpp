#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clientdatasetfixture.h"
#include "platform/dsengine/dsstatus.h"

namespace contado {
namespace {

using ::testing::ElementsAre;

std::string OpenError(TClientDataSet& table) {
    try {
        table.Open();
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return "";
}

TEST_F(ClientDataSetTest, OpensThroughTheProviderOfItsOwnerFoundByName) {
    AddRows(3);
    table.Open();
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.FieldCount(), 6);
    EXPECT_EQ(CurrentId(), 1);
    EXPECT_EQ(table.FieldByName("AJCI_PORC").AsBCD(), Rate(5));
    table.Close();

    table.SetProviderName("PMissing");
    EXPECT_EQ(OpenError(table), "CAjuste: Missing data provider or data packet");
    EXPECT_FALSE(table.Active());
    table.SetProviderName("PAjuste");
    provider.SetDataSet(&table);
    EXPECT_EQ(OpenError(table), "CAjuste: Circular provider references not allowed");
}

TEST_F(ClientDataSetTest, PersistentFieldsAreCheckedAgainstTheirColumns) {
    AddRows(1);
    AddPersistentFields();
    table.Open();
    EXPECT_EQ(table.FieldByName("AJCI_PORC").DisplayName(), "Porc");
    EXPECT_EQ(table.FieldByName("AJCI_FECINI").AsDateTime(), Day(2));
    table.Close();

    TField* wrong = table.FindField("AJCI_PREFNO");
    delete wrong;
    auto* integer = new TIntegerField(&form);
    integer->SetFieldName("AJCI_PREFNO");
    integer->SetDataSet(&table);
    EXPECT_EQ(OpenError(table),
              "CAjuste: Type mismatch for field 'AJCI_PREFNO', expecting: Integer actual: String");
}

TEST_F(ClientDataSetTest, FetchesPacketsOnDemandAndEverythingBeforeLastLocateAndFilter) {
    AddRows(2500);
    table.Open();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(table.RecordCount(), 1000);
    int rows = 0;
    for (; !table.Eof(); table.Next()) {
        ++rows;
    }
    EXPECT_EQ(rows, 2500);
    EXPECT_EQ(requests, 3);
    table.Close();

    requests = 0;
    table.Open();
    table.Last();
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(CurrentId(), 2500);
    EXPECT_EQ(table.RecNo(), 2500);
    table.Close();

    requests = 0;
    table.Open();
    EXPECT_TRUE(table.Locate("AJCI_ID", {std::int64_t{2400}}, {}));
    EXPECT_EQ(requests, 2);
    table.Close();

    requests = 0;
    table.SetFilter("AJCI_ID > 2498");
    table.SetFiltered(true);
    table.Open();
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST_F(ClientDataSetTest, AResultOfExactlyOnePacketIsFollowedByOneEmptyRequest) {
    AddRows(1000);
    table.Open();
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(source.Active());
    table.Last();
    EXPECT_EQ(requests, 2);
    EXPECT_FALSE(source.Active());
    EXPECT_EQ(table.RecordCount(), 1000);
    table.Close();

    requests = 0;
    table.Open();
    table.MoveBy(999);
    EXPECT_EQ(requests, 1);
    table.Next();
    EXPECT_EQ(requests, 2);
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(CurrentId(), 1000);
}

TEST_F(ClientDataSetTest, ClosingAsksTheProviderToResetUnlessThePacketSaysNot) {
    AddRows(1000);
    table.Open();
    ASSERT_TRUE(source.Active());
    table.Close();
    EXPECT_FALSE(source.Active());

    provider.SetOptions({poNoReset});
    table.Open();
    table.Close();
    EXPECT_TRUE(source.Active());
}

TEST_F(ClientDataSetTest, AFilterWithoutRowsLeavesTheTableAtItsEndAndEmpty) {
    AddRows(6);
    table.SetFilter("AJCI_FECINI = '25/12/2026'");
    table.SetFiltered(true);
    table.Open();
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.RecordCount(), 0);
    int deletions = 0;
    while (!table.Eof() && deletions < 10) {
        table.Delete();
        ++deletions;
    }
    EXPECT_EQ(deletions, 0);
}

TEST_F(ClientDataSetTest, DeletingUntilTheEndRemovesOnlyVisibleRows) {
    AddRows(9);
    table.SetFilter("AJCI_FECINI = " + QuotedDateText(Day(2)));
    table.SetFiltered(true);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 3);
    while (!table.Eof()) {
        table.Delete();
    }
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.ChangeCount(), 3);
    table.SetFiltered(false);
    std::vector<int> ids;
    for (table.First(); !table.Eof(); table.Next()) {
        ids.push_back(CurrentId());
    }
    EXPECT_THAT(ids, ElementsAre(2, 3, 5, 6, 8, 9));
}

TEST_F(ClientDataSetTest, TheSeedingSequenceStoresDeletionsAndNewRows) {
    AddRows(9);
    AddPersistentFields();
    table.SetFilter("AJCI_FECINI = '02/12/2026'");
    table.SetFiltered(true);
    table.Open();
    while (!table.Eof()) {
        table.Delete();
    }
    InsertRow(0, 2);
    InsertRow(0, 2);
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.ApplyUpdates(0), 0);
    EXPECT_THAT(source.StatementKinds(), ElementsAre("delete", "delete", "delete", "insert", "insert"));
    EXPECT_THAT(source.transactions, ElementsAre("start", "commit"));
    EXPECT_EQ(table.ChangeCount(), 0);
    EXPECT_EQ(table.RecordCount(), 2);
    // Columns nobody set are left out of the insert.
    EXPECT_EQ(source.statements[3].find("AJCI_PREFNO"), std::string::npos);
    EXPECT_NE(source.statements[3].find("\"AJCI_PORC\""), std::string::npos);
}

TEST_F(ClientDataSetTest, ApplyingWithoutChangesAnswersZeroWithoutTheProvider) {
    AddRows(2);
    table.Open();
    EXPECT_EQ(table.ApplyUpdates(0), 0);
    EXPECT_EQ(applies, 0);
    table.Edit();
    table.Post();  // nothing modified
    EXPECT_EQ(table.ApplyUpdates(-1), 0);
    EXPECT_EQ(applies, 0);
}

TEST_F(ClientDataSetTest, ClosingDropsUnappliedChanges) {
    AddRows(3);
    table.Open();
    table.Delete();
    table.Edit();
    table.FieldByName("AJCI_PREFNO").SetAsString("AB");
    table.Post();
    EXPECT_EQ(table.ChangeCount(), 2);
    table.Close();
    table.Open();
    EXPECT_EQ(table.ChangeCount(), 0);
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_TRUE(table.FieldByName("AJCI_PREFNO").IsNull());
    EXPECT_TRUE(source.statements.empty());
}

TEST_F(ClientDataSetTest, PostingWithoutTheRequiredIdFailsThroughOnPostError) {
    AddRows(1);
    AddPersistentFields();
    std::vector<std::string> messages;
    table.OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
        messages.push_back(error.Message());
        action = daAbort;
    };
    table.Open();
    table.Insert();
    table.FieldByName("AJCI_FECINI").SetAsDateTime(Day(5));
    EXPECT_THROW(table.Post(), EAbort);
    EXPECT_THAT(messages, ElementsAre("Field 'AJCI_ID' must have a value"));
    EXPECT_EQ(table.State(), dsInsert);
    EXPECT_EQ(table.ChangeCount(), 0);

    table.OnPostError = nullptr;
    try {
        table.Post();
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Field 'AJCI_ID' must have a value");
    }
    table.FieldByName("AJCI_ID").SetAsInteger(7);
    table.Post();
    EXPECT_EQ(table.ChangeCount(), 1);
}

TEST_F(ClientDataSetTest, AFailedApplyUnderLimitZeroKeepsTheChangeLog) {
    AddRows(3);
    provider.OnUpdateError = [](TDataSetProvider*, TDeltaReader&, EUpdateError&, TUpdateKind,
                                TResolverResponse& response) { response = rrAbort; };
    source.failures[1] = "violation of PRIMARY or UNIQUE KEY constraint";
    int reconciles = 0;
    table.OnReconcileError = [&](TClientDataSet*, EReconcileError& error, TUpdateKind kind,
                                 TReconcileAction&) {
        ++reconciles;
        EXPECT_EQ(error.Message(), "SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint");
        EXPECT_EQ(kind, ukDelete);
    };
    table.Open();
    table.Delete();
    table.Delete();
    table.Delete();
    EXPECT_EQ(table.ApplyUpdates(0), 1);
    EXPECT_EQ(reconciles, 1);
    EXPECT_THAT(source.transactions, ElementsAre("start", "rollback"));
    EXPECT_EQ(source.statements.size(), 2u);
    EXPECT_EQ(table.ChangeCount(), 3);
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(ClientDataSetTest, WithoutALimitStoredChangesLeaveTheLogAndTheFailedOneFollowsTheAction) {
    AddRows(4);
    provider.OnUpdateError = [](TDataSetProvider*, TDeltaReader&, EUpdateError&, TUpdateKind,
                                TResolverResponse& response) { response = rrAbort; };
    source.failures[1] = "lock conflict";
    table.Open();
    for (int i = 0; i < 3; ++i) {
        table.Edit();
        table.FieldByName("AJCI_PREFNO").SetAsString("P" + std::to_string(i));
        table.Post();
        table.Next();
    }
    EXPECT_EQ(table.ApplyUpdates(-1), 1);
    EXPECT_THAT(source.transactions, ElementsAre("start", "commit"));
    // The first change was stored; the failed one and the one never sent stay.
    EXPECT_EQ(table.ChangeCount(), 2);

    source.failures.clear();
    source.failures[2] = "lock conflict";
    table.OnReconcileError = [](TClientDataSet*, EReconcileError&, TUpdateKind kind,
                                TReconcileAction& action) {
        EXPECT_EQ(kind, ukModify);
        EXPECT_EQ(action, raAbort);
        action = raCancel;
    };
    EXPECT_EQ(table.ApplyUpdates(-1), 1);
    EXPECT_EQ(table.ChangeCount(), 1);
    // The cancelled change is undone; the one after it, never sent, still waits.
    table.First();
    EXPECT_EQ(table.FieldByName("AJCI_PREFNO").AsString(), "P0");
    table.Next();
    EXPECT_TRUE(table.FieldByName("AJCI_PREFNO").IsNull());
    table.Next();
    EXPECT_EQ(table.FieldByName("AJCI_PREFNO").AsString(), "P2");
}

TEST_F(ClientDataSetTest, WithoutAHandlerSkippedFailuresAreSkippedAndTheRestStored) {
    AddRows(3);
    source.failures[0] = "first fails";
    table.Open();
    table.Delete();
    table.Delete();
    EXPECT_EQ(table.ApplyUpdates(-1), 1);
    EXPECT_THAT(source.transactions, ElementsAre("start", "commit"));
    EXPECT_EQ(table.ChangeCount(), 1);
    EXPECT_EQ(table.RecordCount(), 1);
}

TEST_F(ClientDataSetTest, ReconcileHandlerExceptionsAbortAndArriveAfterTheLogIsConsistent) {
    AddRows(2);
    source.failures[0] = "refused";
    table.OnReconcileError = [](TClientDataSet*, EReconcileError&, TUpdateKind, TReconcileAction&) {
        throw EDatabaseError("handler failed");
    };
    table.Open();
    table.Delete();
    EXPECT_THROW(table.ApplyUpdates(-1), EDatabaseError);
    EXPECT_EQ(table.ChangeCount(), 1);
}

TEST_F(ClientDataSetTest, LocateWritesAConditionPerFieldType) {
    AddRows(6);
    source.AddRow({std::int64_t{7}, Day(9), TNull{}, Rate(19), Rate(1), std::string("O'B")});
    table.Open();
    EXPECT_TRUE(table.Locate("AJCI_ID", {std::int64_t{4}}, {}));
    EXPECT_EQ(CurrentId(), 4);
    EXPECT_TRUE(table.Locate("AJCI_PORC", {Rate(19)}, {}));
    EXPECT_EQ(CurrentId(), 2);
    EXPECT_TRUE(table.Locate("AJCI_FECINI;AJCI_PORC", {Day(1), Rate(0)}, {}));
    EXPECT_EQ(CurrentId(), 3);
    EXPECT_TRUE(table.Locate("AJCI_PREFNO", {std::string("O'B")}, {}));
    EXPECT_EQ(CurrentId(), 7);
    EXPECT_TRUE(table.Locate("AJCI_PREFNO", {std::string("o'")}, {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentId(), 7);
    EXPECT_TRUE(table.Locate("AJCI_FECFIN", {TNull{}}, {}));
    EXPECT_EQ(CurrentId(), 7);

    table.First();
    EXPECT_FALSE(table.Locate("AJCI_ID", {std::int64_t{99}}, {}));
    EXPECT_FALSE(table.Locate("AJCI_PREFNO", {std::string("o'")}, {}));
    EXPECT_EQ(CurrentId(), 1);
    EXPECT_THROW(table.Locate("NOPE", {std::int64_t{1}}, {}), EDatabaseError);

    // Only visible rows are searched.
    table.SetFilter("AJCI_ID < 4");
    table.SetFiltered(true);
    EXPECT_FALSE(table.Locate("AJCI_ID", {std::int64_t{4}}, {}));
}

TEST_F(ClientDataSetTest, OperationsThePacketDisablesFailWithTheirMessages) {
    AddRows(2);
    provider.SetOptions({poDisableEdits, poDisableInserts, poDisableDeletes});
    table.Open();
    auto message = [](const std::function<void()>& operation) {
        try {
            operation();
        } catch (const EDatabaseError& error) {
            return error.Message();
        }
        return std::string();
    };
    EXPECT_EQ(message([&] { table.Edit(); }), "CAjuste: Modifications are not allowed");
    EXPECT_EQ(message([&] { table.Insert(); }), "CAjuste: Inserts are not allowed");
    EXPECT_EQ(message([&] { table.Append(); }), "CAjuste: Inserts are not allowed");
    EXPECT_EQ(message([&] { table.Delete(); }), "CAjuste: Deletes are not allowed");
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.ChangeCount(), 0);
}

TEST_F(ClientDataSetTest, EngineFailuresRaiseEDBClientWithTheEngineText) {
    AddRows(1);
    provider.SetOptions({poReadOnly});
    table.Open();
    EXPECT_FALSE(table.CanModify());
    table.Edit();
    table.FieldByName("AJCI_PREFNO").SetAsString("X");
    try {
        table.Post();
        ADD_FAILURE();
    } catch (const EDBClient& error) {
        EXPECT_EQ(error.Message(), "Dataset is read-only");
        EXPECT_EQ(error.ErrorCode(), dsstatus::kReadOnly);
    }
}

TEST_F(ClientDataSetTest, RecordNumbersBookmarksAppendAndPrior) {
    AddRows(5);
    table.Open();
    table.SetRecNo(4);
    EXPECT_EQ(CurrentId(), 4);
    EXPECT_EQ(table.RecNo(), 4);
    TBookmark fourth = table.GetBookmark();
    table.Prior();
    EXPECT_EQ(CurrentId(), 3);
    TBookmark third = table.GetBookmark();
    EXPECT_LT(table.CompareBookmarks(third, fourth), 0);
    EXPECT_GT(table.CompareBookmarks(TBookmark{}, fourth), 0);

    table.Append();
    EXPECT_EQ(table.RecNo(), -1);
    table.FieldByName("AJCI_ID").SetAsInteger(6);
    table.Post();
    EXPECT_EQ(table.RecNo(), 6);
    table.GotoBookmark(fourth);
    EXPECT_EQ(CurrentId(), 4);
    table.Delete();
    EXPECT_FALSE(table.BookmarkValid(fourth));
    EXPECT_TRUE(table.BookmarkValid(third));
    EXPECT_EQ(CurrentId(), 5);

    table.Insert();
    table.FieldByName("AJCI_ID").SetAsInteger(10);
    table.Post();
    std::vector<int> ids;
    for (table.First(); !table.Eof(); table.Next()) {
        ids.push_back(CurrentId());
    }
    EXPECT_THAT(ids, ElementsAre(1, 2, 3, 10, 5, 6));
}

TEST_F(ClientDataSetTest, CommandTextCollectsItsParameters) {
    table.Params().Add(TParam("DAY", ftDate, Day(1)));
    table.SetCommandText("select * from t where a = :DAY and b = ':skip' and c = :Other or d = :day");
    ASSERT_EQ(table.Params().Count(), 2);
    EXPECT_EQ(table.Params()[0].Name(), "DAY");
    EXPECT_EQ(std::get<double>(table.Params()[0].Value()), Day(1));
    EXPECT_EQ(table.Params()[1].Name(), "Other");
}

}  // namespace
}  // namespace contado
