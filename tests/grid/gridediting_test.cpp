#include <gtest/gtest.h>

#include "data/dataset/dataset.h"
#include "tests/grid/grideditfixture.h"

// Typing into cells, writing the text back, Esc, and the failures of a text the field cannot take,
// with real keys on the planned-adjustment grid.

namespace contado {
namespace {

using GridEditing = GridEditTest;

TEST_F(GridEditing, ADigitOnADecimalCellInBrowseStateReplacesTheTextAndStartsTheEdit) {
    Open(3);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    ASSERT_EQ(grid_->CurrentColumn(), 2);
    ASSERT_EQ(CAjusteAu->State(), dsBrowse);
    Type("5");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), "5") << "the whole text was selected, so the digit replaced it";
    EXPECT_EQ(CAjusteAu->State(), dsEdit);
    EXPECT_EQ(grid_->IndicatorKind(), ikEditing);
    EXPECT_EQ(Text("AJCI_PORC"), "1") << "nothing is written before the cell is left";
    EXPECT_EQ(QApplication::focusWidget(), Editor());
    Press(Qt::Key_Tab);
    EXPECT_EQ(Field("AJCI_PORC").AsInteger(), 5);
    EXPECT_EQ(grid_->CurrentColumn(), 3);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(CAjusteAu->State(), dsEdit) << "writing the text does not post";
    EXPECT_EQ(beeps_, 0);
}

TEST_F(GridEditing, DecimalCellsBeepAtLettersAndTakeStopAndCommaAsTheSeparator) {
    Open(2);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Type("a");
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse) << "a refused character changes nothing";
    EXPECT_EQ(Editor()->text(), "1");
    Press(Qt::Key_Backspace);
    Type("1.5");
    EXPECT_EQ(Editor()->text(), "1,5") << "the system separator here is the comma";
    Type("x");
    EXPECT_EQ(beeps_, 2);
    Press(Qt::Key_Return);
    EXPECT_EQ(Text("AJCI_PORC"), "1,5");
    EXPECT_EQ(grid_->CurrentColumn(), 3) << "Enter moves like Tab";
    EXPECT_FALSE(EditorShown()) << "and never opens the editor";
}

TEST_F(GridEditing, TextCellsStopAtTheirSizeCountedInCharacters) {
    Open(1);
    Press(Qt::Key_End);
    ASSERT_EQ(grid_->CurrentColumn(), 4);
    Type(QString::fromUtf8("ÑÑÑÑÑ"));
    EXPECT_EQ(Editor()->text(), QString::fromUtf8("ÑÑÑÑ")) << "a fifth character is refused";
    Press(Qt::Key_Backspace);
    EXPECT_EQ(Editor()->text(), QString::fromUtf8("ÑÑÑ")) << "Backspace takes one character";
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Text("AJCI_PREFNO"), "ÑÑÑ");
}

TEST_F(GridEditing, AnInvalidDateShowsTheErrorAndKeepsTheTextTheFlagAndTheCell) {
    Open(2);
    Type("31/02/2024");
    Press(Qt::Key_Tab);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].text, "'31/02/2024' is not a valid date.");
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), "31/02/2024");
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_EQ(Text("AJCI_FECINI"), "01/01/2024");
    Press(Qt::Key_Down);
    EXPECT_EQ(boxes_.Shown().size(), 2u) << "the record cannot be left either";
    EXPECT_EQ(CAjusteAu->RecNo(), 1);
    EXPECT_EQ(Editor()->text(), "31/02/2024");
    Press(Qt::Key_A, Qt::ControlModifier);
    Type("28/02/2024");
    Press(Qt::Key_Down);
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    CAjusteAu->First();
    EXPECT_EQ(Text("AJCI_FECINI"), "28/02/2024") << "the corrected text was written and posted";
}

TEST_F(GridEditing, ANumberTheDecimalCannotTakeShowsTheBcdError) {
    Open(1);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Type("1,2,3");
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "1,2,3 is not a valid BCD value.");
    EXPECT_EQ(grid_->CurrentColumn(), 2);
    EXPECT_EQ(Text("AJCI_PORC"), "1");
}

TEST_F(GridEditing, EscRevertsTheCellFirstAndThenCancelsTheRecord) {
    Open(2);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Type("7");
    Press(Qt::Key_Tab);
    Type("9");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(Text("AJCI_FACTOR"), "0,8");
    EXPECT_EQ(CAjusteAu->State(), dsEdit) << "the first Esc only gives the cell its text back";
    Press(Qt::Key_F2);
    EXPECT_EQ(Editor()->text(), "0,8");
    EXPECT_EQ(Editor()->cursorPosition(), 3) << "F2 puts the caret at the end";
    EXPECT_FALSE(Editor()->hasSelectedText());
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    EXPECT_EQ(CAjusteAu->State(), dsBrowse);
    EXPECT_EQ(Text("AJCI_PORC"), "1") << "the record's old values are back";
}

TEST_F(GridEditing, TheEditorLiesOverTheCurrentCellAndReloadsWhenTheFieldChangesAnotherWay) {
    Open(2);
    Press(Qt::Key_F2);
    ASSERT_TRUE(EditorShown());
    const QRect cell = grid_->Geometry().CellRect(0, 0);
    EXPECT_EQ(Editor()->geometry().topLeft(), cell.topLeft());
    EXPECT_EQ(Editor()->height(), cell.height());
    EXPECT_GE(Editor()->width(), cell.width()) << "a date wider than its cell widens the editor";
    EXPECT_GT(Editor()->ButtonWidth(), 0) << "date cells keep room for their drop-down";
    CAjusteAu->Edit();
    Field("AJCI_FECINI").SetText("05/03/2024");
    EXPECT_EQ(Editor()->text(), "05/03/2024");
    EXPECT_EQ(Editor()->cursorPosition(), 10);
    Press(Qt::Key_Escape);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_F2);
    EXPECT_EQ(Editor()->ButtonWidth(), 0);
}

TEST_F(GridEditing, UpdateDataWritesOnlyAChangedCellAndNestedCallsDoNothing) {
    Open(1);
    Press(Qt::Key_F2);
    grid_->UpdateData();
    EXPECT_EQ(CAjusteAu->State(), dsBrowse) << "an unchanged cell is not written";
    Press(Qt::Key_A, Qt::ControlModifier);
    Type("02/02/2024");
    int writes = 0;
    DAjusteau->OnDataChange = [this, &writes](TDataSource*, TField* field) {
        if (field != nullptr) {
            ++writes;
            grid_->UpdateData();
        }
    };
    CAjusteAu->Post();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(Text("AJCI_FECINI"), "02/02/2024");
    grid_->UpdateData();
    EXPECT_EQ(writes, 1) << "the flag was cleared by the write";
}

TEST_F(GridEditing, LeavingTheGridWritesTheTextOrDropsAnUntouchedInsert) {
    Open(1);
    Press(Qt::Key_Down);
    ASSERT_EQ(CAjusteAu->State(), dsInsert);
    other_->setFocus();
    Settle();
    EXPECT_EQ(CAjusteAu->State(), dsBrowse) << "dgCancelOnExit drops the untouched new record";
    EXPECT_EQ(CAjusteAu->RecordCount(), 1);
    grid_->setFocus();
    Press(Qt::Key_End);
    Type("AB");
    other_->setFocus();
    Settle();
    EXPECT_EQ(Text("AJCI_PREFNO"), "AB");
    EXPECT_EQ(CAjusteAu->State(), dsEdit);
}

TEST_F(GridEditing, LeavingWithATextTheFieldCannotTakeBringsTheFocusBack) {
    Open(1);
    Type("99/99/2024");
    other_->setFocus();
    Settle();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "'99/99/2024' is not a valid date.");
    EXPECT_TRUE(grid_->hasFocus() || Editor()->hasFocus());
    EXPECT_EQ(Editor()->text(), "99/99/2024");
    EXPECT_EQ(Text("AJCI_FECINI"), "01/01/2024");
}

}  // namespace
}  // namespace contado
