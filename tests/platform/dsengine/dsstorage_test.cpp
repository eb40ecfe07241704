#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/dsengine/dstesttable.h"

namespace contado {
namespace {

using namespace dstest;
using ::testing::ElementsAre;

TEST(DSStorage, BuildsFromPacketsAndAppendsLaterOnes) {
    auto base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;
    EXPECT_EQ(base->CreateCursor(cursor), dsstatus::kNoTable);
    EXPECT_EQ(base->AppendData(MakePacket({MakeRow(1, "A")}, false), false), dsstatus::kNoTable);

    TDataPacket first = MakePacket({MakeRow(1, "A"), MakeRow(2, "B")});
    first.Attributes["DISABLE_EDITS"] = true;
    ASSERT_EQ(base->AppendData(first, false), dsstatus::kOk);
    EXPECT_FALSE(base->AllRowsArrived());
    EXPECT_EQ(base->Columns().size(), 4u);
    EXPECT_EQ(std::get<bool>(base->Attribute("DISABLE_EDITS")), true);
    EXPECT_TRUE(VarIsUnassigned(base->Attribute("NO_RESET_CALL")));

    TDataPacket wrongShape = MakePacket({}, false);
    wrongShape.Rows.push_back(TPacketRow{TUpdateStatus::Unmodified, {TVariant(std::int64_t{3})}});
    EXPECT_EQ(base->AppendData(wrongShape, true), dsstatus::kRowShapeMismatch);

    ASSERT_EQ(base->AppendData(MakePacket({MakeRow(3, "C")}, false), true), dsstatus::kOk);
    EXPECT_TRUE(base->AllRowsArrived());
    ASSERT_EQ(base->CreateCursor(cursor), dsstatus::kOk);
    int count = 0;
    cursor->GetRecordCount(count);
    EXPECT_EQ(count, 3);
}

TEST(DSStorage, MovesBySingleRowsAndReportsBothEnds) {
    TestTable table(3);
    IDSCursor& cursor = *table.cursor;
    TDSRecord record;
    EXPECT_EQ(cursor.GetCurrentRecord(record), dsstatus::kNoCurrentRecord);
    EXPECT_EQ(cursor.MoveRelative(1), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 1);
    EXPECT_EQ(cursor.MoveRelative(-1), dsstatus::kBeginningOfRows);
    EXPECT_EQ(cursor.MoveRelative(1), dsstatus::kOk);
    EXPECT_EQ(cursor.MoveRelative(2), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 3);
    EXPECT_EQ(cursor.MoveRelative(1), dsstatus::kEndOfRows);
    EXPECT_EQ(cursor.GetCurrentRecord(record), dsstatus::kNoCurrentRecord);
    EXPECT_EQ(cursor.MoveRelative(-1), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 3);
    cursor.MoveToEOF();
    EXPECT_EQ(cursor.MoveRelative(-3), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 1);
}

TEST(DSStorage, SequenceNumbersCountVisibleRowsFromOne) {
    TestTable table(4);
    IDSCursor& cursor = *table.cursor;
    int sequence = 0;
    EXPECT_EQ(cursor.GetSequenceNumber(sequence), dsstatus::kNoCurrentRecord);
    ASSERT_EQ(cursor.MoveToSeqNo(3), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 3);
    cursor.GetSequenceNumber(sequence);
    EXPECT_EQ(sequence, 3);
    EXPECT_EQ(cursor.MoveToSeqNo(0), dsstatus::kRecordNotFound);
    EXPECT_EQ(cursor.MoveToSeqNo(5), dsstatus::kRecordNotFound);
    EXPECT_EQ(table.CurrentId(), 3);
    ASSERT_EQ(cursor.DeleteRecord(), dsstatus::kOk);
    cursor.GetSequenceNumber(sequence);
    EXPECT_EQ(sequence, 3);
    EXPECT_EQ(table.CurrentId(), 4);
}

TEST(DSStorage, BookmarksStayValidWhileTheirRowExists) {
    TestTable table(5);
    IDSCursor& cursor = *table.cursor;
    TDSBookmark third = 0;
    TDSBookmark fifth = 0;
    table.MoveToId(3);
    cursor.GetCurrentBookmark(third);
    table.MoveToId(5);
    cursor.GetCurrentBookmark(fifth);

    cursor.MoveToBOF();
    table.Insert(10, "NEW");
    table.MoveToId(1);
    cursor.DeleteRecord();
    ASSERT_EQ(cursor.MoveToBookmark(third), dsstatus::kOk);
    EXPECT_EQ(table.CurrentId(), 3);

    int order = 0;
    cursor.CompareBookmarks(third, fifth, order);
    EXPECT_LT(order, 0);
    cursor.CompareBookmarks(fifth, third, order);
    EXPECT_GT(order, 0);
    cursor.CompareBookmarks(0, third, order);
    EXPECT_GT(order, 0);
    cursor.CompareBookmarks(0, 0, order);
    EXPECT_EQ(order, 0);

    cursor.DeleteRecord();
    EXPECT_EQ(cursor.MoveToBookmark(third), dsstatus::kInvalidBookmark);
    EXPECT_EQ(table.CurrentId(), 4);
    cursor.CompareBookmarks(third, fifth, order);
    EXPECT_GT(order, 0);
    EXPECT_EQ(cursor.MoveToBookmark(0), dsstatus::kInvalidBookmark);
    EXPECT_EQ(cursor.MoveToBookmark(1000), dsstatus::kInvalidBookmark);
}

TEST(DSStorage, InsertsBeforeTheCurrentRowOrAfterTheLast) {
    TestTable table(3);
    table.MoveToId(2);
    table.Insert(20, "BEFORE2");
    EXPECT_EQ(table.CurrentId(), 20);
    table.cursor->MoveToEOF();
    table.Insert(30, "LAST");
    EXPECT_EQ(table.CurrentId(), 30);
    table.cursor->MoveToBOF();
    table.Insert(10, "FIRST");
    EXPECT_EQ(table.CurrentId(), 10);
    EXPECT_THAT(table.VisibleIds(), ElementsAre(10, 1, 20, 2, 3, 30));
}

TEST(DSStorage, FieldsDistinguishUnassignedNullAndValue) {
    TestTable table(1);
    IDSCursor& cursor = *table.cursor;
    TDSRecord record;
    cursor.InitRecord(record);
    TVariant value;
    ASSERT_EQ(cursor.GetField(record, kName, value), dsstatus::kOk);
    EXPECT_TRUE(VarIsUnassigned(value));
    EXPECT_EQ(cursor.PutField(record, kName, TNull{}), dsstatus::kOk);
    cursor.GetField(record, kName, value);
    EXPECT_TRUE(VarIsNull(value));
    EXPECT_EQ(cursor.PutField(record, 4, TNull{}), dsstatus::kColumnOutOfRange);
    EXPECT_EQ(cursor.GetField(record, -1, value), dsstatus::kColumnOutOfRange);

    // Writing a modification, unassigned values leave the row's values alone.
    cursor.MoveRelative(1);
    TDSRecord change;
    cursor.InitRecord(change);
    change[kDay] = TNull{};
    ASSERT_EQ(cursor.ModifyRecord(change), dsstatus::kOk);
    cursor.GetCurrentRecord(record);
    EXPECT_EQ(std::get<std::string>(record[kName]), "N1");
    EXPECT_TRUE(VarIsNull(record[kDay]));
}

TEST(DSStorage, AnEndOfRowsCursorStaysThereWhenRowsArriveAndCountsThem) {
    auto base = CreateDSBase();
    ASSERT_EQ(base->AppendData(MakePacket({MakeRow(1, "A"), MakeRow(2, "B")}), false), dsstatus::kOk);
    std::unique_ptr<IDSCursor> cursor;
    base->CreateCursor(cursor);
    TDSBookmark last = 0;
    cursor->MoveToSeqNo(2);
    cursor->GetCurrentBookmark(last);
    EXPECT_EQ(cursor->MoveRelative(1), dsstatus::kEndOfRows);
    ASSERT_EQ(base->AppendData(MakePacket({MakeRow(3, "C")}, false), true), dsstatus::kOk);
    TDSRecord record;
    EXPECT_EQ(cursor->GetCurrentRecord(record), dsstatus::kNoCurrentRecord);
    ASSERT_EQ(cursor->MoveToBookmark(last), dsstatus::kOk);
    ASSERT_EQ(cursor->MoveRelative(1), dsstatus::kOk);
    cursor->GetCurrentRecord(record);
    EXPECT_EQ(std::get<std::int64_t>(record[kId]), 3);
    int count = 0;
    cursor->GetRecordCount(count);
    EXPECT_EQ(count, 3);
}

TEST(DSStorage, AFilteredCursorTakesInRowsThatArriveInSeveralParts) {
    auto base = CreateDSBase();
    ASSERT_EQ(base->AppendData(MakePacket({MakeRow(1, "A"), MakeRow(2, "B")}), false), dsstatus::kOk);
    std::unique_ptr<IDSCursor> cursor;
    base->CreateCursor(cursor);
    TDSExpression expression;
    int name = expression.AddColumn(kName);
    expression.SetRoot(expression.AddCompare(TDSCompareOp::NotEqual, name, expression.AddConstant("B")));
    TDSFilterHandle handle = 0;
    ASSERT_EQ(cursor->AddFilter(expression, handle), dsstatus::kOk);
    ASSERT_EQ(cursor->MoveToSeqNo(1), dsstatus::kOk);
    for (std::int64_t id = 3; id <= 7; ++id) {
        ASSERT_EQ(base->AppendData(MakePacket({MakeRow(id, id % 2 == 0 ? "B" : "C")}, false), id == 7),
                  dsstatus::kOk);
    }
    std::vector<std::int64_t> ids;
    TDSRecord record;
    for (int status = cursor->GetCurrentRecord(record); status == dsstatus::kOk;
         status = cursor->MoveRelative(1)) {
        cursor->GetCurrentRecord(record);
        ids.push_back(std::get<std::int64_t>(record[kId]));
    }
    EXPECT_EQ(ids, (std::vector<std::int64_t>{1, 3, 5, 7}));
}

TEST(DSStorage, AnotherCursorSeesChangesMadeThroughTheFirst) {
    TestTable table(3);
    std::unique_ptr<IDSCursor> other;
    table.base->CreateCursor(other);
    other->MoveToSeqNo(3);
    table.MoveToId(1);
    table.cursor->DeleteRecord();
    int count = 0;
    other->GetRecordCount(count);
    EXPECT_EQ(count, 2);
    int sequence = 0;
    other->GetSequenceNumber(sequence);
    EXPECT_EQ(sequence, 2);
}

TEST(DSStorage, AReadOnlyPacketRefusesChanges) {
    auto base = CreateDSBase();
    TDataPacket packet = MakePacket({MakeRow(1, "A")});
    packet.Attributes["READONLY"] = true;
    base->AppendData(packet, true);
    std::unique_ptr<IDSCursor> cursor;
    base->CreateCursor(cursor);
    cursor->MoveRelative(1);
    TDSRecord record;
    cursor->GetCurrentRecord(record);
    EXPECT_EQ(cursor->ModifyRecord(record), dsstatus::kReadOnly);
    EXPECT_EQ(cursor->InsertRecord(record), dsstatus::kReadOnly);
    EXPECT_EQ(cursor->DeleteRecord(), dsstatus::kReadOnly);
    EXPECT_EQ(base->ErrorText(dsstatus::kReadOnly), "Dataset is read-only");
}

TEST(DSStorage, ErrorTextsOfConstraintStatusesBeginAsTheTranslatorExpects) {
    EXPECT_EQ(DSErrorText(dsstatus::kKeyViolation).substr(0, 3), "key");
    EXPECT_EQ(DSErrorText(dsstatus::kMasterHasDetails).substr(0, 30), "Cannot delete master record wi");
    EXPECT_EQ(DSErrorText(dsstatus::kOk), "");
    EXPECT_EQ(DSErrorText(12345), "Engine error 12345");
}

}  // namespace
}  // namespace contado
