#include <gtest/gtest.h>

#include "data/dataset/dataset.h"
#include "tests/grid/grideditfixture.h"

// The grid's keys on records: the Tab order with the append rules of Down, Up on a new record,
// Insert, Ctrl+Delete with its box, Ctrl+' and the keys that never leave the grid. The table has
// no after-insert rule here, so a new record counts as untouched until a cell is changed.

namespace contado {
namespace {

using GridKeys = GridEditTest;

TEST_F(GridKeys, TabWalksTheColumnsAppendsAtTheEndAndCyclesAnUntouchedNewRecord) {
    Open(2);
    Press(Qt::Key_Down);
    for (int column = 1; column <= 4; ++column) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(grid_->CurrentColumn(), column);
    }
    Press(Qt::Key_Tab);
    EXPECT_EQ(CAjusteAu->State(), dsInsert) << "Tab in the last cell appends a new record";
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_EQ(grid_->IndicatorKind(), ikInserting);
    EXPECT_EQ(grid_->CurrentRow(), 2);
    for (int step = 0; step < 5; ++step) {
        Press(Qt::Key_Tab);
    }
    EXPECT_EQ(grid_->CurrentColumn(), 0) << "an untouched new record cycles its columns";
    EXPECT_EQ(CAjusteAu->State(), dsInsert);
    EXPECT_EQ(grid_->RowCount(), 4) << "no second new record";
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid_->CurrentColumn(), 4);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse) << "Shift+Tab leaves it by the rules of Up: it disappears";
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid_->CurrentColumn(), 3);
}

TEST_F(GridKeys, DownAtTheEndAppendsUpDropsTheUntouchedRecordAndDownOnItDoesNothing) {
    Open(2);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    ASSERT_EQ(CAjusteAu->State(), dsInsert);
    Press(Qt::Key_Down);
    EXPECT_EQ(CAjusteAu->State(), dsInsert);
    EXPECT_EQ(grid_->RowCount(), 4);
    Press(Qt::Key_Up);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse);
    EXPECT_EQ(CAjusteAu->RecordCount(), 2);
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    EXPECT_EQ(grid_->RowCount(), 3);
}

TEST_F(GridKeys, AChangedNewRecordIsPostedByDownAndTheNextOneAppended) {
    Open(1);
    Press(Qt::Key_Down);
    Type("03/03/2024");
    Press(Qt::Key_Down);
    ASSERT_EQ(boxes_.Shown().size(), 1u) << "AJCI_ID is required";
    EXPECT_EQ(boxes_.Shown()[0].text, "Field 'AJCI_ID' must have a value.");
    Field("AJCI_ID").SetAsInteger(7);
    Press(Qt::Key_Down);
    EXPECT_EQ(CAjusteAu->State(), dsInsert);
    EXPECT_EQ(CAjusteAu->RecordCount(), 2);
    Press(Qt::Key_Up);
    EXPECT_EQ(Text("AJCI_FECINI"), "03/03/2024");
}

TEST_F(GridKeys, DownInAnEmptyTableAppendsAtOnce) {
    Open(0);
    Press(Qt::Key_Down);
    EXPECT_EQ(CAjusteAu->State(), dsInsert);
}

TEST_F(GridKeys, TabAndEnterNeverLeaveTheGridAndCtrlTabDoesNothing) {
    Open(2);
    other_->setFocus();
    grid_->setFocus();
    for (int step = 0; step < 7; ++step) {
        Press(Qt::Key_Return);
        ASSERT_TRUE(grid_->hasFocus());
        EXPECT_FALSE(EditorShown());
    }
    EXPECT_EQ(grid_->CurrentColumn(), 2);
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(grid_->CurrentColumn(), 2);
    EXPECT_TRUE(grid_->hasFocus());
    Type("4");
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_TRUE(grid_->hasFocus());
    Press(Qt::Key_F2);
    Press(Qt::Key_Tab);
    EXPECT_TRUE(grid_->hasFocus()) << "Tab in the editor moves to the next cell";
    EXPECT_EQ(grid_->CurrentColumn(), 1);
}

TEST_F(GridKeys, ArrowsHomeAndEndMoveWithoutWrapping) {
    Open(8);
    Press(Qt::Key_Left);
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    Press(Qt::Key_End);
    Press(Qt::Key_Right);
    EXPECT_EQ(grid_->CurrentColumn(), 4);
    Press(Qt::Key_Home);
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(CAjusteAu->RecNo(), 6);
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(CAjusteAu->RecNo(), 2) << "the record in the top visible row";
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(CAjusteAu->RecNo(), 8);
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(CAjusteAu->RecNo(), 1);
}

TEST_F(GridKeys, InsertPutsANewRecordBeforeTheCurrentOne) {
    Open(3);
    Press(Qt::Key_Down);
    Press(Qt::Key_Insert);
    EXPECT_EQ(CAjusteAu->State(), dsInsert);
    EXPECT_EQ(grid_->CurrentRow(), 1);
    Press(Qt::Key_Down);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse) << "Down away from the untouched record cancels it";
    EXPECT_EQ(CAjusteAu->RecordCount(), 3);
}

TEST_F(GridKeys, CtrlDeleteAsksAndDeletesOnlyOnOk) {
    Open(0);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(boxes_.Shown().empty()) << "nothing on an empty table";
    CAjusteAu->Close();
    FillPlanned(2);
    OpenTable();
    boxes_.QueueAnswer(mbCancel);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    const TMessageBoxRequest& box = boxes_.Shown()[0];
    EXPECT_EQ(box.type, mtConfirmation);
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, "Delete record?");
    EXPECT_TRUE(box.buttons.Contains(mbOK) && box.buttons.Contains(mbCancel));
    EXPECT_EQ(CAjusteAu->RecordCount(), 2);
    EXPECT_TRUE(grid_->hasFocus());
    boxes_.QueueAnswer(mbOK);
    Press(Qt::Key_F2);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(boxes_.Shown().size(), 2u) << "from the editor as well";
    EXPECT_EQ(CAjusteAu->RecordCount(), 1);
    EXPECT_EQ(Field("AJCI_ID").AsInteger(), 2);
}

TEST_F(GridKeys, CtrlQuoteCopiesTheCellAboveExceptOnTheTopRow) {
    Open(3);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse);
    EXPECT_FALSE(EditorShown());
    Press(Qt::Key_Down);
    Press(Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(CAjusteAu->State(), dsEdit);
    EXPECT_EQ(Text("AJCI_PORC"), "1");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), "1");
    EXPECT_EQ(Editor()->selectedText(), "1");
    Press(Qt::Key_Down);
    CAjusteAu->First();
    CAjusteAu->Next();
    EXPECT_EQ(Field("AJCI_ID").AsInteger(), 2);
    EXPECT_EQ(Text("AJCI_PORC"), "1") << "posted with the copied value";
}

}  // namespace
}  // namespace contado
