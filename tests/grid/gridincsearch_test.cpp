#include <gtest/gtest.h>

#include <QInputMethodEvent>

#include "data/dataset/dataset.h"
#include "grid/gridimages.h"
#include "platform/system/clipboard.h"
#include "tests/grid/searchfixture.h"

// The incremental search with real keys on the planned-adjustment grid: starting it, typed text,
// Backspace, the next and prior keys, the clipboard, the keys and moves that end it, and what it
// draws.

namespace contado {
namespace {

class GridIncSearch : public GridSearchTest {
  protected:
    void StartOnColumn(int column) {
        OpenMixed();
        for (int step = 0; step < column; ++step) {
            Press(Qt::Key_Right);
        }
        Press(Qt::Key_F, Qt::ControlModifier);
    }
    QString SearchText() const { return grid_->IncrementalSearchText(); }
    // Whether any pixel of a client rectangle has the colour.
    bool HasColour(const QRect& rect, const QColor& colour) {
        const QImage image = Grab();
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (ClientPixel(image, x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    static QColor Yellow() { return QColor(0xFF, 0xFF, 0x00); }
};

TEST_F(GridIncSearch, CtrlFTurnsTheArrowYellowWithoutMovingAndLeftEndsIt) {
    OpenMixed();
    Press(Qt::Key_Down);
    Press(Qt::Key_Right);
    const QRect indicator = grid_->Geometry().IndicatorRect(grid_->CurrentRow());
    ASSERT_FALSE(HasColour(indicator, Yellow()));
    Press(Qt::Key_F, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(grid_->IncrementalSearchActive());
    EXPECT_EQ(grid_->IndicatorKind(), ikSearching);
    EXPECT_TRUE(HasColour(indicator, Yellow())) << "the arrow in the search colour";
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(grid_->CurrentColumn(), 1);
    Press(Qt::Key_Left);
    Settle();
    EXPECT_FALSE(grid_->IncrementalSearchActive());
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_FALSE(HasColour(indicator, Yellow())) << "the arrow is black again";
}

TEST_F(GridIncSearch, TypedTextFindsTheFirstRowFromTheTopAndAMissChangesNothing) {
    StartOnColumn(2);
    Press(Qt::Key_Down);  // not a search key: moves and ends the mode
    EXPECT_FALSE(grid_->IncrementalSearchActive());
    Press(Qt::Key_F, Qt::ControlModifier);
    Type("0");
    EXPECT_EQ(RecNo(), 4) << "the first Porc text beginning with 0, counted from the top";
    EXPECT_EQ(SearchText(), "0");
    EXPECT_TRUE(grid_->IncrementalSearchActive());
    Type("x");
    EXPECT_EQ(RecNo(), 4);
    EXPECT_EQ(SearchText(), "0") << "a character that leads nowhere is dropped";
    Type(",2");
    EXPECT_EQ(RecNo(), 5);
    EXPECT_EQ(SearchText(), "0,2");
    Press(Qt::Key_Backspace);
    EXPECT_EQ(SearchText(), "0,");
    EXPECT_EQ(RecNo(), 5) << "Backspace does not search";
    EXPECT_EQ(beeps_, 0);
    EXPECT_FALSE(EditorShown());
}

TEST_F(GridIncSearch, SmallLettersFindCapitalsAndTheTextTakesTheCellsCase) {
    StartOnColumn(4);
    TypeLetter(Qt::Key_Ntilde, "ñ");
    EXPECT_EQ(RecNo(), 3);
    EXPECT_EQ(SearchText(), QString::fromUtf8("Ñ")) << "the letter case follows the data";
    Press(Qt::Key_Backspace);
    EXPECT_EQ(SearchText(), "") << "one character, whatever its bytes";
    TypeLetter(Qt::Key_Eacute, "é");
    EXPECT_EQ(RecNo(), 5);
    EXPECT_EQ(SearchText(), QString::fromUtf8("É"));
    Press(Qt::Key_Backspace);
    Type("fv");
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(SearchText(), "FV");
}

TEST_F(GridIncSearch, ADatePrefixFindsTheFirstRecordOfThatDayAndCtrlEnterWalksDown) {
    StartOnColumn(0);
    Type("10/01");
    EXPECT_EQ(RecNo(), 2);
    Press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 4);
    Press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 6);
    const int row = grid_->CurrentRow();
    Press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 6) << "at the last match it stays";
    EXPECT_EQ(grid_->CurrentRow(), row);
    EXPECT_EQ(SearchText(), "10/01");
    Press(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(RecNo(), 4);
    EXPECT_TRUE(grid_->IncrementalSearchActive());
}

TEST_F(GridIncSearch, EnterEscAndF2EndTheModeAndThenDoWhatTheyDo) {
    StartOnColumn(2);
    Type("1");
    ASSERT_EQ(RecNo(), 1);
    Press(Qt::Key_Return);
    EXPECT_FALSE(grid_->IncrementalSearchActive());
    EXPECT_EQ(grid_->CurrentColumn(), 3) << "Enter moves as Tab";
    Press(Qt::Key_F, Qt::ControlModifier);
    Press(Qt::Key_F2);
    EXPECT_FALSE(grid_->IncrementalSearchActive());
    EXPECT_TRUE(EditorShown());
    Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(EditorShown()) << "Ctrl+F in the editor hides it";
    EXPECT_TRUE(grid_->IncrementalSearchActive());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(grid_->IncrementalSearchActive());
}

TEST_F(GridIncSearch, CtrlFAgainEndsTheModeAndOpensTheFindDialogWithAnEmptyText) {
    std::vector<QString> opened;
    TCustomDBGridEx::SetShowFindDialog([&](TCustomDBGridEx& grid, const QString& text) {
        EXPECT_EQ(&grid, grid_);
        EXPECT_FALSE(grid.IncrementalSearchActive());
        opened.push_back(text);
    });
    StartOnColumn(4);
    Type("e");
    Press(Qt::Key_F, Qt::ControlModifier);
    TCustomDBGridEx::SetShowFindDialog({});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "");
    EXPECT_FALSE(grid_->IncrementalSearchActive());
}

TEST_F(GridIncSearch, TypingWhileTheRecordIsEditedIsIgnored) {
    OpenMixed();
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Type("9");
    ASSERT_EQ(CAjusteAu->State(), dsEdit);
    Press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(grid_->IncrementalSearchActive());
    Type("1");
    EXPECT_EQ(SearchText(), "");
    EXPECT_EQ(CAjusteAu->State(), dsEdit);
    EXPECT_EQ(RecNo(), 1);
}

TEST_F(GridIncSearch, TheClipboardKeysSearchAndHostileTextsDoNoHarm) {
    StartOnColumn(4);
    SetClipboardText("éc");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 5);
    EXPECT_EQ(SearchText(), QString::fromUtf8("ÉC"));
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    SetClipboardText("fvb");
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(RecNo(), 6);
    SetClipboardText(std::string(200000, 'F') + "\xff\xfe");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 6);
    EXPECT_EQ(SearchText(), "FVB");
}

TEST_F(GridIncSearch, AnEscWaitingWhileTheSearchRunsStopsItAndThenEndsTheMode) {
    StartOnColumn(2);
    QueueEscape();
    Type("3");
    EXPECT_EQ(RecNo(), 1) << "the search stopped at once and went back";
    EXPECT_EQ(SearchText(), "");
    EXPECT_TRUE(grid_->IncrementalSearchActive());
    Settle();
    EXPECT_FALSE(grid_->IncrementalSearchActive()) << "the Esc acted as a key afterwards";
}

TEST_F(GridIncSearch, TheSearchTextIsDrawnOverTheTextsBeginningAsTheColumnAligns) {
    StartOnColumn(4);
    Type("fv");
    Settle();
    const QRect left = grid_->Geometry().CellRect(4, grid_->CurrentRow());
    EXPECT_TRUE(HasColour(QRect(left.left() + 2, left.top() + 4, 3, 4), Yellow()));
    EXPECT_FALSE(HasColour(QRect(left.right() - 8, left.top() + 4, 4, 4), Yellow()))
        << "only the matched characters are covered";
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    Press(Qt::Key_F, Qt::ControlModifier);
    Type("1");
    Settle();
    const QRect right = grid_->Geometry().CellRect(2, grid_->CurrentRow());
    EXPECT_FALSE(HasColour(QRect(right.left() + 2, right.top() + 4, 6, 4), Yellow()));
    EXPECT_TRUE(HasColour(QRect(right.right() - 20, right.top() + 4, 14, 4), Yellow()))
        << "the right-aligned number's first digit";
    EXPECT_FALSE(HasColour(QRect(right.right() - 5, right.top() + 4, 3, 4), Yellow()))
        << "its last digit stays free";
}

// A dead key and its letter reach the grid from the input method as one composed character, which
// searches as the typed letter does and, out of the search, opens the cell's editor with it.
TEST_F(GridIncSearch, ComposedTextSearchesAndOpensTheEditorAsTypedKeysDo) {
    StartOnColumn(4);
    QInputMethodEvent acute;
    acute.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(grid_, &acute);
    EXPECT_EQ(RecNo(), 5);
    EXPECT_EQ(SearchText(), QStringLiteral("É")) << "in the letter case of the data";
    Press(Qt::Key_Left);
    Press(Qt::Key_Right);
    QInputMethodEvent tilde;
    tilde.setCommitString(QStringLiteral("ñ"));
    QApplication::sendEvent(grid_, &tilde);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), QStringLiteral("ñ"));
}

TEST_F(GridIncSearch, AnEmptyTableStartsTheModeAndFindsNothing) {
    Open(0);
    Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(grid_->IncrementalSearchActive());
    Type("1");
    EXPECT_EQ(SearchText(), "");
    EXPECT_TRUE(CAjusteAu->IsEmpty());
}

}  // namespace
}  // namespace contado
