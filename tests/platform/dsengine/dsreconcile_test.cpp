#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/dsengine/dstesttable.h"

namespace contado {
namespace {

using namespace dstest;
using ::testing::ElementsAre;

constexpr int kSkipResponse = 1;
constexpr int kAbortResponse = 2;

// Three changes: modify row 1 (delta records 1 and 2), insert 10 (record 3), delete row 3 (record 4).
struct ReconcileTable : TestTable {
    ReconcileTable() : TestTable(4) {
        MoveToId(1);
        SetCurrent(kName, "ONE");
        cursor->MoveToEOF();
        Insert(10, "TEN");
        MoveToId(3);
        cursor->DeleteRecord();
        delta = Delta();
    }

    void AddError(int recordNo, int response, const std::string& message, TDSRecord current = {}) {
        if (errors.Columns.empty()) {
            std::unique_ptr<IDSWriter> writer;
            base->CreateWriter(writer);
            writer->CreateErrorPacket(delta, errors);
        }
        TPacketRow row{TUpdateStatus::Unmodified,
                       {TVariant(std::int64_t{recordNo}), TVariant(std::int64_t{response}), TVariant(message),
                        TVariant(std::string()), TVariant(std::int64_t{1}), TVariant(std::int64_t{7})}};
        current.resize(4);
        row.Values.insert(row.Values.end(), current.begin(), current.end());
        errors.Rows.push_back(std::move(row));
    }

    // Reconciles, answering the given actions in turn, and records what the callback saw.
    void Reconcile(bool stored, std::vector<int> actions) {
        size_t next = 0;
        ASSERT_EQ(base->Reconcile(errors, stored,
                                  [&](TDSReconcileInfo& info) {
                                      seen.push_back(info);
                                      return actions.at(next++);
                                  }),
                  dsstatus::kOk);
    }

    std::string Name(std::int64_t id) {
        MoveToId(id);
        TDSRecord record;
        cursor->GetCurrentRecord(record);
        return std::get<std::string>(record[kName]);
    }

    TDataPacket delta;
    TDataPacket errors;
    std::vector<TDSReconcileInfo> seen;
};

TEST(DSReconcile, NoErrorsAndStoredChangesEmptyTheLog) {
    ReconcileTable table;
    table.Reconcile(true, {});
    EXPECT_TRUE(table.seen.empty());
    EXPECT_EQ(table.ChangeCount(), 0);
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 2, 4, 10));
}

TEST(DSReconcile, ChangesOfARolledBackApplyStayInTheLog) {
    ReconcileTable table;
    table.AddError(3, kAbortResponse, "refused");
    table.Reconcile(false, {dsreconcile::kAbort});
    ASSERT_EQ(table.seen.size(), 1u);
    EXPECT_EQ(table.ChangeCount(), 3);
    EXPECT_EQ(table.Delta().Rows.size(), table.delta.Rows.size());
}

TEST(DSReconcile, TheCallbackSeesTheFailedChange) {
    ReconcileTable table;
    table.AddError(2, kSkipResponse, "changed by another user",
                   {TVariant(std::int64_t{1}), TVariant("SERVER")});
    table.AddError(3, kSkipResponse, "key violation");
    table.Reconcile(true, {dsreconcile::kSkip, dsreconcile::kSkip});
    ASSERT_EQ(table.seen.size(), 2u);
    const TDSReconcileInfo& modified = table.seen[0];
    EXPECT_EQ(modified.UpdateKind, TUpdateStatus::Modified);
    EXPECT_EQ(modified.ErrorRecordNo, 2);
    EXPECT_EQ(modified.Response, kSkipResponse);
    EXPECT_EQ(modified.Message, "changed by another user");
    EXPECT_EQ(modified.Category, 1);
    EXPECT_EQ(modified.ErrorCode, 7);
    EXPECT_EQ(std::get<std::string>(modified.OldValues[kName]), "N1");
    EXPECT_EQ(std::get<std::string>(modified.NewValues[kName]), "ONE");
    EXPECT_TRUE(VarIsUnassigned(modified.NewValues[kId]));
    EXPECT_EQ(std::get<std::string>(modified.CurrentValues[kName]), "SERVER");
    EXPECT_EQ(table.seen[1].UpdateKind, TUpdateStatus::Inserted);
    EXPECT_EQ(std::get<std::int64_t>(table.seen[1].NewValues[kId]), 10);
    // Skipped changes stay; the deletion without an error record was stored and is merged.
    EXPECT_EQ(table.ChangeCount(), 2);
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 2, 4, 10));
}

TEST(DSReconcile, CancelUndoesAndAbortKeepsTheRestUnreconciled) {
    ReconcileTable table;
    table.AddError(2, kSkipResponse, "first");
    table.AddError(3, kSkipResponse, "second");
    table.AddError(4, kSkipResponse, "third");
    table.Reconcile(true, {dsreconcile::kCancel, dsreconcile::kAbort});
    EXPECT_EQ(table.seen.size(), 2u);
    EXPECT_EQ(table.Name(1), "N1");
    EXPECT_EQ(table.ChangeCount(), 2);
    using S = TUpdateStatus;
    EXPECT_THAT(table.Delta().Rows, ::testing::SizeIs(2));
    EXPECT_EQ(table.Delta().Rows[0].Status, S::Inserted);
    EXPECT_EQ(table.Delta().Rows[1].Status, S::Deleted);
}

TEST(DSReconcile, ChangesAfterTheOneTheProviderAbortedOnWereNeverSent) {
    ReconcileTable table;
    table.AddError(3, kAbortResponse, "stop");
    table.Reconcile(true, {dsreconcile::kSkip});
    // The modification before it was stored and merged; the insertion and the deletion after it stay.
    EXPECT_EQ(table.ChangeCount(), 2);
    EXPECT_EQ(table.Delta().Rows[0].Status, TUpdateStatus::Inserted);
    EXPECT_EQ(table.Delta().Rows[1].Status, TUpdateStatus::Deleted);
}

TEST(DSReconcile, MergeCorrectAndRefreshUseTheValuesTheyAreGiven) {
    ReconcileTable table;
    table.AddError(2, kSkipResponse, "merge", {TVariant(std::int64_t{1}), TVariant("SERVER")});
    table.AddError(3, kSkipResponse, "correct");
    table.AddError(4, kSkipResponse, "refresh", {TVariant(std::int64_t{3}), TVariant("BACK")});
    size_t calls = 0;
    table.base->Reconcile(table.errors, true, [&](TDSReconcileInfo& info) {
        ++calls;
        if (info.UpdateKind == TUpdateStatus::Modified) {
            return dsreconcile::kMerge;
        }
        if (info.UpdateKind == TUpdateStatus::Inserted) {
            info.NewValues[kName] = std::string("ELEVEN");
            return dsreconcile::kCorrect;
        }
        return dsreconcile::kRefresh;
    });
    EXPECT_EQ(calls, 3u);
    TDataPacket delta = table.Delta();
    ASSERT_EQ(delta.Rows.size(), 3u);
    EXPECT_EQ(std::get<std::string>(delta.Rows[0].Values[kName]), "SERVER");
    EXPECT_EQ(std::get<std::string>(delta.Rows[1].Values[kName]), "ONE");
    EXPECT_EQ(std::get<std::string>(delta.Rows[2].Values[kName]), "ELEVEN");
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 2, 3, 4, 10));
    EXPECT_EQ(table.Name(3), "BACK");
}

TEST(DSReconcile, RejectsMalformedErrorPacketsAndUnknownActions) {
    ReconcileTable table;
    TDataPacket broken;
    broken.Rows.push_back(TPacketRow{TUpdateStatus::Unmodified, {TVariant(std::int64_t{1})}});
    EXPECT_EQ(table.base->Reconcile(broken, true, nullptr), dsstatus::kInvalidErrorPacket);
    table.AddError(3, kSkipResponse, "x");
    EXPECT_EQ(table.base->Reconcile(table.errors, false, [](TDSReconcileInfo&) { return 99; }),
              dsstatus::kInvalidAction);
    EXPECT_EQ(table.ChangeCount(), 3);
}

}  // namespace
}  // namespace contado
