#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "controls/dbgridexfinddlg.h"
#include "data/client/clientdataset.h"
#include "grid/dbgridex.h"
#include "tests/app/companywindowfixture.h"

// Finding in the window's planned-adjustment grid over a demo company (rates 19, 19, 5; prefixes
// none, "CA", none): the incremental search and the find dialog behind its second Ctrl+F, with
// real keys.

namespace contado {
namespace {

class FindText : public CompanyWindowTest {
  protected:
    TDBGridEx* Planned() {
        OpenConnected();
        window_->CAjusteAu->Open();
        window_->CaptionPanel2->show();
        window_->DBGridEx1->setFocus();
        QApplication::processEvents();
        ResetDialog();
        return window_->DBGridEx1;
    }
    // The dialog lives as long as the process: each test starts from its first settings.
    static void ResetDialog() {
        Dialog().cbText->clear();
        Dialog().cbMatchinType->setCurrentIndex(0);
        Dialog().cbFindDirection->setCurrentIndex(2);
        Dialog().cbCharCase->setChecked(false);
        Dialog().cbUseFormat->setChecked(true);
    }
    static TDBGridExFindDlg& Dialog() { return TDBGridExFindDlg::Instance(); }
    static void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, key, modifiers);
    }
    // Runs what must happen inside the modal dialog once it shows; it closes the dialog if still open.
    static void WhileOpen(std::function<void()> steps) {
        QTimer::singleShot(0, [steps] {
            steps();
            if (Dialog().isVisible()) {
                Key(&Dialog(), Qt::Key_Escape);
            }
        });
    }
    int RecNo() const { return window_->CAjusteAu->RecNo(); }
    // The dialog prepared for the grid and shown without a modal loop, the text typed.
    void ShowWith(TDBGridEx* grid, const char* text) {
        Dialog().Prepare(*grid, "");
        Dialog().show();
        QTest::keyClicks(Dialog().cbText, QString::fromUtf8(text));
    }
    void TearDown() override {
        Dialog().hide();
        CompanyWindowTest::TearDown();
    }
};

TEST_F(FindText, TheIncrementalSearchFindsAPrefixInTheRealGrid) {
    TDBGridEx* grid = Planned();
    Key(grid, Qt::Key_End);
    Key(grid, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(grid->IndicatorKind(), ikSearching);
    QTest::keyClicks(grid, "c");
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(grid->IncrementalSearchText(), "C");
}

TEST_F(FindText, CtrlFTwiceOpensTheDialogWithItsControlsAndACaseInsensitiveFindMovesRecordAndColumn) {
    TDBGridEx* grid = Planned();
    Key(grid, Qt::Key_Right);
    bool shown = false;
    WhileOpen([&] {
        shown = Dialog().isVisible() && Dialog().isModal();
        TDBGridExFindDlg& dialog = Dialog();
        EXPECT_EQ(dialog.windowTitle(), "Find text");
        EXPECT_EQ(dialog.size(), QSize(505, 124));
        EXPECT_EQ(dialog.cbText->currentText(), "") << "the initial text is empty";
        EXPECT_EQ(dialog.cbText->geometry(), QRect(88, 9, 316, 21));
        EXPECT_EQ(dialog.cbFindIn->geometry(), QRect(88, 32, 192, 21));
        EXPECT_EQ(dialog.cbMatchinType->geometry(), QRect(88, 55, 144, 21));
        EXPECT_EQ(dialog.cbFindDirection->geometry(), QRect(88, 79, 144, 21));
        EXPECT_EQ(dialog.cbCharCase->geometry(), QRect(88, 105, 144, 14));
        EXPECT_EQ(dialog.cbUseFormat->geometry(), QRect(260, 105, 144, 14));
        EXPECT_EQ(dialog.bFind->geometry(), QRect(413, 9, 82, 23));
        EXPECT_EQ(dialog.bCancel->geometry(), QRect(413, 37, 82, 22));
        EXPECT_EQ(dialog.Label1->text(), "Fi&nd What:");
        EXPECT_EQ(dialog.Label1->pos(), QPoint(10, 12));
        EXPECT_EQ(dialog.Label2->text(), "Find &in:");
        EXPECT_EQ(dialog.cbMatchType->text(), "Matc&h:");
        EXPECT_EQ(dialog.Label3->text(), "Sea&rch:");
        EXPECT_EQ(dialog.cbCharCase->text(), "Match &Case");
        EXPECT_FALSE(dialog.cbCharCase->isChecked());
        EXPECT_EQ(dialog.cbUseFormat->text(), "Match F&ormat");
        EXPECT_TRUE(dialog.cbUseFormat->isChecked());
        EXPECT_EQ(dialog.bFind->text(), "&Find next");
        EXPECT_EQ(dialog.bCancel->text(), "Close");
        EXPECT_EQ(dialog.cbMatchinType->currentText(), "From any part of field");
        EXPECT_EQ(dialog.cbMatchinType->itemText(2), "From beging of field");
        EXPECT_EQ(dialog.cbFindDirection->currentText(), "All");
        ASSERT_EQ(dialog.cbFindIn->count(), 6);
        EXPECT_EQ(dialog.cbFindIn->itemText(0), "Fec.Desde");
        EXPECT_EQ(dialog.cbFindIn->itemText(5), "<All>");
        EXPECT_EQ(dialog.cbFindIn->currentText(), "Fec.Hasta") << "the focused column";
        EXPECT_EQ(dialog.focusWidget(), dialog.cbText) << "the text is the focused control";
        EXPECT_TRUE(dialog.FreshSearch());
        dialog.cbFindIn->setCurrentIndex(5);
        QTest::keyClicks(dialog.cbText->lineEdit(), "ca");
        Key(dialog.cbText->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(RecNo(), 2);
        EXPECT_EQ(grid->CurrentColumn(), 4);
        EXPECT_FALSE(dialog.FreshSearch());
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open after a hit";
    });
    Key(grid, Qt::Key_F, Qt::ControlModifier);
    Key(grid, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_FALSE(grid->IncrementalSearchActive());
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(FindText, OpeningAgainKeepsHistoryAndSettingsButChoosesTheFocusedColumnAnew) {
    TDBGridEx* grid = Planned();
    ShowWith(grid, "CA");
    Dialog().cbMatchinType->setCurrentIndex(1);
    Dialog().cbCharCase->setChecked(true);
    Key(&Dialog(), Qt::Key_Return);
    Dialog().cbText->setEditText("ca");
    Key(&Dialog(), Qt::Key_Return);
    EXPECT_EQ(Dialog().cbText->count(), 1) << "the same text in other letters is not added again";
    Dialog().hide();
    Key(grid, Qt::Key_Home);
    Dialog().Prepare(*grid, "");
    EXPECT_EQ(Dialog().cbText->itemText(0), "CA");
    EXPECT_EQ(Dialog().cbMatchinType->currentIndex(), 1);
    EXPECT_TRUE(Dialog().cbCharCase->isChecked());
    EXPECT_EQ(Dialog().cbFindIn->currentText(), "Fec.Desde");
}

TEST_F(FindText, AllBecomesDownAfterAHitCtrlReversesAndAChangedTextStartsAfresh) {
    TDBGridEx* grid = Planned();
    Key(grid, Qt::Key_Right);
    Key(grid, Qt::Key_Right);
    ShowWith(grid, "19");
    Key(&Dialog(), Qt::Key_Return);
    EXPECT_EQ(RecNo(), 1) << "the first find of All starts at the first record";
    Key(&Dialog(), Qt::Key_Return);
    EXPECT_EQ(RecNo(), 2) << "then All goes on downwards";
    Key(&Dialog(), Qt::Key_Return);
    EXPECT_EQ(RecNo(), 2) << "a miss stays on the last hit";
    EXPECT_FALSE(Dialog().FreshSearch()) << "a miss keeps the flag";
    Key(&Dialog(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 1) << "Ctrl searches upwards";
    Dialog().cbMatchinType->setCurrentIndex(2);
    EXPECT_FALSE(Dialog().FreshSearch()) << "the matching kind does not start afresh";
    QTest::keyClicks(Dialog().cbText->lineEdit(), "x");
    EXPECT_TRUE(Dialog().FreshSearch());
    Dialog().cbFindDirection->setCurrentIndex(1);
    Dialog().cbText->setEditText("5");
    Dialog().cbMatchinType->setCurrentIndex(0);
    window_->CAjusteAu->Last();
    Key(&Dialog(), Qt::Key_Return);
    EXPECT_EQ(RecNo(), 3) << "Down on the last record finds nothing and does not move";
}

TEST_F(FindText, EnterOnCloseAndEscCloseTheDialog) {
    TDBGridEx* grid = Planned();
    bool closedByEnter = false;
    WhileOpen([&] {
        Dialog().bCancel->setFocus();
        Key(Dialog().bCancel, Qt::Key_Return);
        closedByEnter = !Dialog().isVisible();
    });
    ShowFindDialog(*grid, "");
    EXPECT_TRUE(closedByEnter);
    bool closedByEsc = false;
    WhileOpen([&] {
        Key(Dialog().cbText->lineEdit(), Qt::Key_Escape);
        closedByEsc = !Dialog().isVisible();
    });
    ShowFindDialog(*grid, "");
    EXPECT_TRUE(closedByEsc);
}

struct Completion {
    const char* history;
    const char* typed;
};

// The history holds a text that begins like the one typed, in other letters or longer: the text
// searched is the one typed, and the history keeps its entry.
TEST_F(FindText, TheTextSearchedIsExactlyTheOneTyped) {
    TDBGridEx* grid = Planned();
    const Completion cases[] = {{"ca", "CA"}, {"año", "AÑO"}, {"pequeño", "peq"}, {"émile", "É"}};
    for (const auto& [history, typed] : cases) {
        ResetDialog();
        Dialog().cbText->addItem(QString::fromUtf8(history));
        ShowWith(grid, typed);
        Key(Dialog().cbText->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(Dialog().cbText->currentText(), QString::fromUtf8(typed)) << history;
        EXPECT_EQ(Dialog().cbText->findText(QString::fromUtf8(history)), 0) << history;
    }
}

// With "ca" in the history: capitals typed with Match Case find their row, and so does an Enter on
// the text of the history all selected, the first one.
TEST_F(FindText, TheTextTypedIsFoundAndTheFirstEnterFindsIt) {
    TDBGridEx* grid = Planned();
    QLineEdit* text = Dialog().cbText->lineEdit();
    ShowWith(grid, "ca");
    Dialog().cbFindIn->setCurrentIndex(5);
    Key(text, Qt::Key_Return);
    for (const bool allSelected : {false, true}) {
        window_->CAjusteAu->First();
        Dialog().cbCharCase->setChecked(!allSelected);
        text->clear();
        QTest::keyClicks(text, allSelected ? "ca" : "CA");
        if (allSelected) {
            Key(text, Qt::Key_A, Qt::ControlModifier);
            ASSERT_EQ(text->selectedText(), "ca");
        }
        Key(text, Qt::Key_Return);
        EXPECT_EQ(RecNo(), 2) << "the row whose prefix is CA; all selected " << allSelected;
        EXPECT_EQ(grid->CurrentColumn(), 4);
    }
    EXPECT_EQ(Dialog().cbText->currentText(), "ca");
}

// Minimized, the dialog would leave the window it blocks with nothing to show.
TEST_F(FindText, TheDialogIsNeverLeftMinimized) {
    TDBGridEx* grid = Planned();
    bool restored = false;
    WhileOpen([&] {
        EXPECT_FALSE(Dialog().windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        Dialog().setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        restored = !Dialog().isMinimized() && Dialog().isVisible();
    });
    ShowFindDialog(*grid, "");
    EXPECT_TRUE(restored);
}

}  // namespace
}  // namespace contado
