#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/dsengine/dstesttable.h"

namespace contado {
namespace {

using namespace dstest;
using ::testing::ElementsAre;

std::vector<TUpdateStatus> Statuses(const TDataPacket& delta) {
    std::vector<TUpdateStatus> statuses;
    for (const TPacketRow& row : delta.Rows) {
        statuses.push_back(row.Status);
    }
    return statuses;
}

std::int64_t IdOf(const TPacketRow& row) {
    return std::get<std::int64_t>(row.Values[kId]);
}

TEST(DSChangeLog, ListsChangesInTheOrderTheyWereMade) {
    TestTable table(5);
    table.MoveToId(2);
    table.SetCurrent(kName, "CHANGED");
    table.cursor->MoveToEOF();
    table.Insert(6, "NEW");
    table.MoveToId(4);
    table.cursor->DeleteRecord();
    table.MoveToId(1);
    table.SetCurrent(kDay, TNull{});

    TDataPacket delta = table.Delta();
    EXPECT_EQ(delta.Columns.size(), 4u);
    using S = TUpdateStatus;
    ASSERT_THAT(Statuses(delta),
                ElementsAre(S::Unmodified, S::Modified, S::Inserted, S::Deleted, S::Unmodified, S::Modified));
    EXPECT_EQ(table.ChangeCount(), 4);

    // The before-image holds every original value; the modified image only what changed.
    EXPECT_EQ(std::get<std::string>(delta.Rows[0].Values[kName]), "N2");
    EXPECT_EQ(IdOf(delta.Rows[0]), 2);
    EXPECT_EQ(std::get<std::string>(delta.Rows[1].Values[kName]), "CHANGED");
    EXPECT_TRUE(VarIsUnassigned(delta.Rows[1].Values[kId]));
    EXPECT_TRUE(VarIsUnassigned(delta.Rows[1].Values[kDay]));
    // An inserted row's never-set fields stay unassigned.
    EXPECT_EQ(IdOf(delta.Rows[2]), 6);
    EXPECT_TRUE(VarIsUnassigned(delta.Rows[2].Values[kDay]));
    EXPECT_EQ(IdOf(delta.Rows[3]), 4);
    EXPECT_EQ(std::get<std::string>(delta.Rows[3].Values[kName]), "N4");
    // A field set to null is null, not unassigned.
    EXPECT_TRUE(VarIsNull(delta.Rows[5].Values[kDay]));
    EXPECT_TRUE(VarIsUnassigned(delta.Rows[5].Values[kName]));
}

TEST(DSChangeLog, FoldsRepeatedChangesOfOneRowIntoOne) {
    TestTable table(4);
    table.MoveToId(1);
    table.Insert(10, "NEW");
    table.SetCurrent(kName, "NEWER");  // inserted, then modified: one insertion
    table.Insert(11, "GONE");
    table.cursor->DeleteRecord();  // inserted, then deleted: nothing
    table.MoveToId(2);
    table.SetCurrent(kName, "X");
    table.SetCurrent(kName, "Y");  // modified twice: one modification from the original
    table.MoveToId(3);
    table.SetCurrent(kName, "Z");
    table.cursor->DeleteRecord();  // modified, then deleted: the original values are deleted
    table.MoveToId(4);
    table.SetCurrent(kName, "N4");  // a write that changes nothing is no change

    TDataPacket delta = table.Delta();
    using S = TUpdateStatus;
    ASSERT_THAT(Statuses(delta), ElementsAre(S::Inserted, S::Unmodified, S::Modified, S::Deleted));
    EXPECT_EQ(std::get<std::string>(delta.Rows[0].Values[kName]), "NEWER");
    EXPECT_EQ(std::get<std::string>(delta.Rows[1].Values[kName]), "N2");
    EXPECT_EQ(std::get<std::string>(delta.Rows[2].Values[kName]), "Y");
    EXPECT_EQ(std::get<std::string>(delta.Rows[3].Values[kName]), "N3");
    EXPECT_EQ(table.ChangeCount(), 3);
}

TEST(DSChangeLog, AcceptingMergesEveryChange) {
    TestTable table(3);
    table.MoveToId(3);
    TDSBookmark third = 0;
    table.cursor->GetCurrentBookmark(third);
    table.MoveToId(1);
    table.SetCurrent(kName, "ONE");
    table.MoveToId(2);
    table.cursor->DeleteRecord();
    table.Insert(4, "FOUR");
    ASSERT_EQ(table.base->AcceptChanges(), dsstatus::kOk);

    EXPECT_EQ(table.ChangeCount(), 0);
    EXPECT_TRUE(table.Delta().Rows.empty());
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 4, 3));
    ASSERT_EQ(table.cursor->MoveToBookmark(third), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 3);

    // A later modification has the accepted values as its before-image.
    table.MoveToId(1);
    table.SetCurrent(kName, "UNO");
    TDataPacket delta = table.Delta();
    ASSERT_EQ(delta.Rows.size(), 2u);
    EXPECT_EQ(std::get<std::string>(delta.Rows[0].Values[kName]), "ONE");
}

TEST(DSChangeLog, RevertingAndCancellingUndoChanges) {
    TestTable table(3);
    table.MoveToId(1);
    table.SetCurrent(kName, "ONE");
    ASSERT_EQ(table.cursor->RevertRecord(), dsstatus::kOk);
    TDSRecord record;
    table.cursor->GetCurrentRecord(record);
    EXPECT_EQ(std::get<std::string>(record[kName]), "N1");
    EXPECT_EQ(table.ChangeCount(), 0);

    table.MoveToId(2);
    table.cursor->DeleteRecord();
    table.Insert(9, "NINE");
    table.MoveToId(3);
    table.SetCurrent(kName, "THREE");
    ASSERT_EQ(table.base->CancelChanges(), dsstatus::kOk);
    EXPECT_EQ(table.ChangeCount(), 0);
    EXPECT_THAT(table.VisibleIds(), ElementsAre(1, 2, 3));
    table.MoveToId(3);
    table.cursor->GetCurrentRecord(record);
    EXPECT_EQ(std::get<std::string>(record[kName]), "N3");
}

TEST(DSChangeLog, ErrorPacketsPutTheErrorColumnsBeforeTheTablesColumns) {
    TestTable table(3);
    table.MoveToId(2);
    table.cursor->DeleteRecord();
    std::unique_ptr<IDSWriter> writer;
    table.base->CreateWriter(writer);
    TDataPacket errors;
    ASSERT_EQ(writer->CreateErrorPacket(table.Delta(), errors), dsstatus::kOk);
    ASSERT_EQ(errors.Columns.size(), errorcolumn::kCount + 4u);
    EXPECT_EQ(errors.Columns[errorcolumn::kRecordNo].Name, "ERROR_RECORDNO");
    EXPECT_EQ(errors.Columns[errorcolumn::kErrorCode].Name, "ERROR_CODE");
    EXPECT_EQ(errors.Columns[errorcolumn::kCount].Name, "ID");
    EXPECT_TRUE(errors.Rows.empty());
}

}  // namespace
}  // namespace contado
