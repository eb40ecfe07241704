#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/data/client/clienttablefixture.h"

// Applying a client table's change log through its provider and reconciling the answer.

namespace contado {
namespace {

using ::testing::ElementsAre;

class ClientTableApply : public ClientTableTest {
  protected:
    // Sets AJCI_PREFNO of the first n rows, one post each; "ZZ" names no prefix and fails on apply.
    void SetPrefixes(const std::vector<std::string>& prefixes) {
        CAjuste->First();
        for (const std::string& prefix : prefixes) {
            CAjuste->Edit();
            CAjuste->FieldByName("AJCI_PREFNO").SetAsString(prefix);
            CAjuste->Post();
            CAjuste->Next();
        }
    }

    std::string StoredPrefix(int id) {
        return Scalar("select coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE where AJCI_ID = " +
                      std::to_string(id));
    }
};

TEST_F(ClientTableApply, WithoutChangesAnswersZeroWithoutCallingTheProvider) {
    SeedAdjustments();
    CAjuste->Open();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    CAjuste->Edit();
    CAjuste->Post();  // nothing modified
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 0);
    EXPECT_EQ(applies_, 0);
}

TEST_F(ClientTableApply, APendingEditIsPostedFirst) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("CA");
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(CAjuste->State(), dsBrowse);
    EXPECT_EQ(StoredPrefix(1), "CA");
}

TEST_F(ClientTableApply, AFailureUnderLimitZeroLeavesTheLogAndTheDatabaseUnchanged) {
    SeedAdjustments();
    std::vector<TUpdateKind> reconciled;
    CAjuste->OnReconcileError = [&](TClientDataSet*, EReconcileError& error, TUpdateKind kind,
                                    TReconcileAction& action) {
        reconciled.push_back(kind);
        EXPECT_NE(error.Message().find("violation of PRIMARY or UNIQUE KEY constraint"), std::string::npos);
        EXPECT_EQ(action, raAbort);
    };
    CAjuste->Open();
    CAjuste->Delete();                                     // row 1: executed, then rolled back
    InsertAdjustment(0, EncodeDate(2026, 12, 9), 190000);  // the day and rate of row 3
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 1);
    ASSERT_EQ(updateErrors_.size(), 1u);
    EXPECT_THAT(reconciled, ElementsAre(ukInsert));
    EXPECT_EQ(CAjuste->ChangeCount(), 2);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 4);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1"), 1);

    // Once the offending row is put right, the same log applies.
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 11));
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1"), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-11'"), 1);
}

TEST_F(ClientTableApply, WithoutALimitChangesBeforeTheAbortedOneAreStoredAndTheRestWait) {
    SeedAdjustments();
    CAjuste->Open();
    SetPrefixes({"CA", "ZZ", "CV"});
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 1);
    EXPECT_EQ(StoredPrefix(1), "CA");
    EXPECT_EQ(StoredPrefix(2), "FV");
    EXPECT_EQ(StoredPrefix(3), "FV");
    EXPECT_EQ(CAjuste->ChangeCount(), 2);

    CAjuste->OnReconcileError = [](TClientDataSet*, EReconcileError&, TUpdateKind kind,
                                   TReconcileAction& action) {
        EXPECT_EQ(kind, ukModify);
        action = raCancel;
    };
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 1);
    EXPECT_EQ(CAjuste->ChangeCount(), 1);
    CAjuste->First();
    CAjuste->Next();
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PREFNO").AsString(), "FV");
    CAjuste->Next();
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PREFNO").AsString(), "CV");
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 0);
    EXPECT_EQ(StoredPrefix(3), "CV");
}

TEST_F(ClientTableApply, SkippedFailuresStayInTheLogWhileTheOtherChangesAreStored) {
    SeedAdjustments();
    updateResponse_ = rrSkip;
    CAjuste->Open();
    SetPrefixes({"ZZ", "CA", "ZZ"});
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 2);
    EXPECT_EQ(updateErrors_.size(), 2u);
    EXPECT_EQ(StoredPrefix(2), "CA");
    EXPECT_EQ(CAjuste->ChangeCount(), 2);
}

TEST_F(ClientTableApply, AReconcileHandlerThatFailsAbortsAndItsErrorArrivesAfterwards) {
    SeedAdjustments();
    CAjuste->OnReconcileError = [](TClientDataSet*, EReconcileError&, TUpdateKind, TReconcileAction&) {
        throw EDatabaseError("handler failed");
    };
    CAjuste->Open();
    SetPrefixes({"ZZ"});
    try {
        CAjuste->ApplyUpdates(-1);
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "handler failed");
    }
    EXPECT_EQ(CAjuste->ChangeCount(), 1);
    EXPECT_EQ(CAjuste->State(), dsBrowse);
}

}  // namespace
}  // namespace contado
