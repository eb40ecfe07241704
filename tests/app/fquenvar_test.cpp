#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>

#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "core/exceptions.h"
#include "tests/app/mainwindowfixture.h"

namespace contado {
namespace {

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

// Counts the key presses that reach a control after the window has looked at them.
class KeyCounter : public QObject {
  public:
    explicit KeyCounter(QWidget* widget) { widget->installEventFilter(this); }
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress;
        return false;
    }
};

using SettingsAtStart = MainWindowTest;

TEST_F(SettingsAtStart, ServerListFillsTheFieldAndSelectsTheFirstEntry) {
    sandbox_.WriteApplicationFile("SERVIDORES.cfg", "/srv/tandrel\r\ndbhost:\r\n/srv/tandrel\r\n");
    Open();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(window_->listaServidores,
              (std::vector<std::string>{"/srv/tandrel", "dbhost:", "/srv/tandrel"}));
    EXPECT_EQ(Items(window_->Servidor), (QStringList{"/srv/tandrel", "dbhost:", "/srv/tandrel"}));
    EXPECT_EQ(window_->Servidor->currentIndex(), 0);
    EXPECT_EQ(window_->Servidor->currentText(), "/srv/tandrel");
    EXPECT_FALSE(window_->Servidor->isEditable());
    EXPECT_EQ(window_->diraplicacion(), sandbox_.ApplicationDirectory().string());
}

TEST_F(SettingsAtStart, FirstEmptyEntryIsSelectedAndShowsNothing) {
    sandbox_.WriteApplicationFile("SERVIDORES.cfg", "\nA\n");
    Open();
    EXPECT_EQ(window_->Servidor->currentIndex(), 0);
    EXPECT_EQ(window_->Servidor->currentText(), "");
    EXPECT_EQ(window_->Servidor->count(), 2);
}

TEST_F(SettingsAtStart, MissingSettingsFileShowsThePlainBoxAndLeavesTheFieldEmpty) {
    std::filesystem::remove(sandbox_.SettingsFile());
    Open();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtCustom);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(boxes_.Shown()[0].text,
              "No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\\Ombrin\\TandrelERP2017\\Directorio");
    EXPECT_EQ(window_->Servidor->count(), 0);
    EXPECT_EQ(window_->Servidor->currentIndex(), -1);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(SettingsAtStart, AbsentValueGivesTheEmptyDirectoryWithoutMessage) {
    sandbox_.WriteSettings("[General]\nOtro=1\n");
    sandbox_.WriteApplicationFile("SERVIDORES.cfg", "A\n");
    Open();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(window_->diraplicacion(), "");
    EXPECT_EQ(window_->Servidor->count(), 0) << "looked for in the root, not in the sandbox";
}

TEST_F(SettingsAtStart, ValueOfAnotherTypeEndsFormCreateInTheDefaultErrorBox) {
    sandbox_.WriteSettings("[General]\nDirectorio=" + sandbox_.ApplicationDirectory().string() + ", /otro\n");
    sandbox_.WriteApplicationFile("SERVIDORES.cfg", "A\n");
    Open();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(boxes_.Shown()[0].text, "Invalid data type for 'Directorio'");
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->Servidor->count(), 0);
    EXPECT_EQ(window_->Servidor->currentText(), "");
}

using StartState = MainWindowTest;

TEST_F(StartState, FieldsAsTheWindowOpens) {
    Open();
    EXPECT_EQ(window_->windowTitle(), "Contabilizar ventas de contado");
    EXPECT_EQ(window_->size(), QSize(346, 255));
    EXPECT_EQ(QApplication::focusWidget(), window_->Servidor);
    EXPECT_FALSE(window_->SpeedButton3->isEnabled());
    EXPECT_TRUE(window_->SpeedButton2->isEnabled());
    EXPECT_FALSE(window_->Panel5->isVisible());
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_FALSE(window_->CaptionPanel2->isVisible());
    EXPECT_FALSE(window_->ckniif->isChecked());
    EXPECT_DOUBLE_EQ(window_->EFecIni->DateTime(), 37641.280825);
    EXPECT_DOUBLE_EQ(window_->EFecFin->DateTime(), 37641.280825);
    EXPECT_EQ(window_->EFecIni->date(), QDate(2003, 1, 20));
    window_->TClave->setText("clave");
    EXPECT_EQ(window_->TClave->displayText(), "*****");
    EXPECT_FALSE(window_->primeraActivacion) << "cleared by the first activation";
}

TEST_F(StartState, CreationSetsTheFirstActivationFlag) {
    window_ = new TCountingWindow;
    EXPECT_TRUE(window_->primeraActivacion);
    window_->show();
    QApplication::setActiveWindow(window_);
    EXPECT_FALSE(window_->primeraActivacion);
}

TEST_F(StartState, ControlsStandWhereTheLayoutPutsThem) {
    Open();
    EXPECT_EQ(window_->Panel2->geometry(), QRect(0, 0, 346, 57));
    EXPECT_EQ(window_->Servidor->mapTo(window_, QPoint()), QPoint(76, 65));
    EXPECT_EQ(window_->Cia->geometry(), QRect(76, 80, 45, 21));
    EXPECT_EQ(window_->EFecFin->mapTo(window_, QPoint()), QPoint(173, 177));
    EXPECT_EQ(window_->Panel1->geometry(), QRect(0, 203, 346, 52));
    EXPECT_EQ(window_->SpeedButton2->geometry(), QRect(237, 1, 65, 50));
    EXPECT_EQ(window_->Panel5->geometry(), QRect(8, 66, 337, 41));
    window_->resize(446, 300);
    EXPECT_EQ(window_->Panel1->geometry(), QRect(0, 248, 446, 52)) << "aligned to the bottom";
    EXPECT_EQ(window_->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly), window_->Panel1);
    const QObjectList children = window_->children();
    const auto position = [&children](QObject* child) { return children.indexOf(child); };
    EXPECT_LT(position(window_->Panel1), position(window_->Panel2)) << "stacking, bottom first";
    EXPECT_LT(position(window_->Panel2), position(window_->Panel5));
    EXPECT_LT(position(window_->Panel5), position(window_->CaptionPanel2));
}

using WindowKeys = MainWindowTest;

TEST_F(WindowKeys, EscapeClosesAndFreesTheWindow) {
    Open();
    window_->Tusua->setFocus();
    Press(Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(WindowFreed());
}

TEST_F(WindowKeys, CancelButtonClosesAndFreesTheWindow) {
    Open();
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    EXPECT_TRUE(WindowFreed());
}

TEST_F(WindowKeys, FunctionKeysRunTheirHandlersAndReachTheControl) {
    Open();
    KeyCounter counter(window_->Servidor);
    Press(Qt::Key_F2);
    Press(Qt::Key_F5);
    Press(Qt::Key_F7);
    Press(Qt::Key_F7);
    EXPECT_EQ(window_->postingRuns, 1) << "F2 runs the posting run with the button still disabled";
    EXPECT_EQ(window_->adjustmentEditor, 1);
    EXPECT_EQ(window_->plannedEditor, 2);
    EXPECT_EQ(counter.presses, 4) << "the window never consumes a key";
}

TEST_F(WindowKeys, ShiftCtrlOrAltMakeTheKeysDoNothing) {
    Open();
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        for (Qt::Key key : {Qt::Key_F2, Qt::Key_F5, Qt::Key_F7, Qt::Key_Escape}) {
            Press(key, modifier);
        }
    }
    EXPECT_EQ(window_->postingRuns, 0);
    EXPECT_EQ(window_->adjustmentEditor, 0);
    EXPECT_EQ(window_->plannedEditor, 0);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(WindowFreed());
}

TEST_F(WindowKeys, AnErrorLeavingAHandlerIsShownAndTheWindowGoesOn) {
    Open();
    window_->duringPostingRun = [] { throw EDatabaseError("Unable to complete network request to host"); };
    Press(Qt::Key_F2);
    window_->duringPostingRun = [] { throw EAbort(); };
    Press(Qt::Key_F2);
    window_->duringPostingRun = [] { throw EDatabaseError("Sin filas."); };
    Press(Qt::Key_F2);
    ASSERT_EQ(boxes_.Shown().size(), 2u) << "the silent abort shows nothing";
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(boxes_.Shown()[0].text, "Unable to complete network request to host.");
    EXPECT_EQ(boxes_.Shown()[1].text, "Sin filas.");
    EXPECT_TRUE(window_->isVisible());
    Press(Qt::Key_F5);
    EXPECT_EQ(window_->adjustmentEditor, 1);
}

using EnterAsTab = MainWindowTest;

TEST_F(EnterAsTab, EnterMovesThroughTheFieldsInTabOrder) {
    Open();
    KeyCounter counter(window_->Tusua);
    const std::vector<QWidget*> expected = {window_->Tusua, window_->TClave, window_->Cia, window_->ckniif};
    for (QWidget* next : expected) {
        Press(Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    EXPECT_EQ(counter.presses, 0) << "the Enter character is discarded, not typed into the field";
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->ckniif) << "the check box keeps the focus";

    window_->EFecIni->setFocus();
    Press(Qt::Key_Enter);
    EXPECT_TRUE(window_->EFecFin->hasFocus());
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->Servidor) << "from the last field back to the first";
}

TEST_F(EnterAsTab, TabGoesTheSameWayThroughTheCheckBox) {
    Open();
    window_->Cia->setFocus();
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_->ckniif);
    Press(Qt::Key_Tab);
    EXPECT_TRUE(window_->EFecIni->hasFocus());
}

TEST_F(EnterAsTab, EnterInTheCompanyFieldLeavesIt) {
    Open();
    window_->Cia->setFocus();
    EXPECT_EQ(window_->companyExits, 0);
    Press(Qt::Key_Return);
    EXPECT_EQ(window_->companyExits, 1);
    window_->Cia->setFocus();
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(window_);
    EXPECT_TRUE(window_->Cia->hasFocus());
    EXPECT_EQ(window_->companyExits, 1) << "switching windows is no leaving of the field";
    window_->Tusua->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(window_->companyExits, 2);
}

TEST_F(EnterAsTab, DisabledFieldsAreSkipped) {
    Open();
    window_->TClave->setEnabled(false);
    window_->Tusua->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->Cia);
}

}  // namespace
}  // namespace contado
