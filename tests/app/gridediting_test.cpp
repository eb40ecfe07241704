#include "data/client/clientdataset.h"
#include "data/fields/integerfield.h"
#include "grid/dbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "tests/app/companywindowfixture.h"

// The window's two adjustment grids over a demo company, driven by real keys: the closing
// adjustments, where a new record stays untouched until a cell changes, and the planned
// adjustments, whose after-insert rule makes every new record count as changed at once.

namespace contado {
namespace {

class WindowGrids : public CompanyWindowTest {
  protected:
    // Connects, opens the closing or the planned adjustments, shows their panel and puts the focus
    // in their grid on the last record.
    TDBGridEx* Edit(bool planned) {
        OpenConnected();
        TClientDataSet* table = planned ? window_->CAjusteAu : window_->CAjuste;
        QWidget* panel = planned ? window_->CaptionPanel2 : window_->CaptionPanel1;
        TDBGridEx* grid = planned ? window_->DBGridEx1 : window_->DBGridEx2;
        table->Open();
        panel->show();
        grid->setFocus();
        table->Last();
        QApplication::processEvents();
        return grid;
    }
    int StoredPlanned() { return std::stoi(Probe().Scalar("select count(*) from AJUSTE_CIERRE_AUTO")); }
};

TEST_F(WindowGrids, ClosingAdjustmentsDropAnUntouchedAppendedRecordOnUp) {
    TDBGridEx* grid = Edit(false);
    TClientDataSet* table = window_->CAjuste;
    const int records = table->RecordCount();
    Press(Qt::Key_Down);
    ASSERT_EQ(table->State(), dsInsert);
    EXPECT_EQ(grid->IndicatorKind(), ikInserting);
    Press(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsInsert) << "Down on the untouched new record does nothing";
    Press(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), records);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(WindowGrids, PlannedAdjustmentsPostEveryAppendedRecordOnUpDownAndTab) {
    const int stored = StoredPlanned();
    TDBGridEx* grid = Edit(true);
    TClientDataSet* table = window_->CAjusteAu;
    const int records = table->RecordCount();
    Press(Qt::Key_Down);
    ASSERT_EQ(table->State(), dsInsert);
    EXPECT_EQ(window_->CAjusteAuAJCI_ID->AsInteger(), 0);
    Press(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsInsert) << "the first was posted and the next appended";
    EXPECT_EQ(table->RecordCount(), records + 1);
    Press(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse) << "Up posts the changed new record instead of dropping it";
    EXPECT_EQ(table->RecordCount(), records + 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    Press(Qt::Key_End);
    Press(Qt::Key_Down);
    ASSERT_EQ(grid->CurrentColumn(), 4);
    ASSERT_EQ(table->RecordCount(), records + 2);
    Press(Qt::Key_Tab);
    EXPECT_EQ(table->RecordCount(), records + 3) << "Tab out of the last column posts it";
    EXPECT_EQ(grid->CurrentColumn(), 0);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_TRUE(boxes_.Shown().empty());
    ASSERT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_EQ(StoredPlanned(), stored + 4) << "the last one is posted by the apply";
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE_AUTO where AJCI_FECINI is null"), "4");
}

TEST_F(WindowGrids, ATypedCellReachesTheDatabaseWhenTheTableIsApplied) {
    TDBGridEx* grid = Edit(true);
    TClientDataSet* table = window_->CAjusteAu;
    table->First();
    const std::string id = std::to_string(window_->CAjusteAuAJCI_ID->AsInteger());
    const std::string prefix = Probe().Scalar("select first 1 trim(PREF_CODIGO) from PREFIJO");
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    QTest::keyClicks(QApplication::focusWidget(), "12.5");
    EXPECT_EQ(QApplication::focusWidget(), grid->InplaceEdit());
    Press(Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "3");
    Press(Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(prefix));
    Press(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse) << "Up on the first record posts it";
    ASSERT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_EQ(Probe().Rows("select cast(AJCI_PORC as varchar(20)), cast(AJCI_FACTOR as varchar(20)), "
                           "AJCI_PREFNO from AJUSTE_CIERRE_AUTO where AJCI_ID = " +
                           id),
              (std::vector<std::vector<std::string>>{{"12.5000", "3.0000", prefix}}));
}

TEST_F(WindowGrids, TheWindowStillSeesItsKeysFirstWhileTheGridHasTheFocus) {
    TDBGridEx* grid = Edit(true);
    QTest::keyClicks(QApplication::focusWidget(), "1");
    ASSERT_TRUE(grid->InplaceEdit()->isVisible());
    Press(Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull()) << "Esc in the editor reaches the window's key preview, which closes it";
}

}  // namespace
}  // namespace contado
