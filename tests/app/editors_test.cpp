#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QtTest/QTest>

#include "controls/captionpanel.h"
#include "controls/datetimepicker.h"
#include "controls/dbnavigator.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/fields/fmtbcdfield.h"
#include "grid/dbgridinplaceedit.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "grid/dbgridex.h"
#include "platform/system/systemcolors.h"
#include "tests/app/companywindowfixture.h"

namespace contado {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The two editors on the real window over a demo company, driven by keys and navigator clicks and
// judged by the rows stored.
class Editors : public CompanyWindowTest {
  protected:
    Rows DayRows(TDateTime day) {
        return Probe().Rows(
            "select cast(AJCI_FECFIN as varchar(10)), cast(AJCI_PORC as varchar(20)), "
            "cast(AJCI_FACTOR as varchar(20)), coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
            "where AJCI_FECINI = " +
            SqlDateText(day) + " order by AJCI_PORC");
    }
    void InsertDayRow(TDateTime day, const char* rate, const char* factor, const char* prefix) {
        Probe().Execute("insert into AJUSTE_CIERRE values (0, " + SqlDateText(day) + ", " + SqlDateText(day) +
                        ", " + rate + ", " + factor + ", " + prefix + ")");
    }
    int PlannedCount() { return std::stoi(Probe().Scalar("select count(*) from AJUSTE_CIERRE_AUTO")); }
    static std::string IsoDay(TDateTime day) { return FormatDateTime("yyyy-mm-dd", day); }
    static void Click(TDBNavigator* navigator, TNavigateBtn button) {
        QTest::mouseClick(navigator->Buttons(button), Qt::LeftButton);
    }
    void SetFactor(TFMTBCDField* field, std::int64_t tenThousandths) {
        field->DataSet()->Edit();
        field->SetAsCurrency(TCurrency::FromRaw(tenThousandths));
    }
    const TMessageBoxRequest& OnlyBox() {
        EXPECT_EQ(boxes_.Shown().size(), 1u);
        return boxes_.Shown().back();
    }
};

TEST_F(Editors, F5ShowsTheSeededDayAndF5AgainStoresOneRowPerRateWithBothDates) {
    const TDateTime day = Today() - 1;
    InsertDayRow(day, "19", "0.5", "'CA'");
    InsertDayRow(day, "12", "1", "NULL");
    OpenConnected();
    window_->EFecIni->SetDateTime(day);
    window_->EFecFin->SetDateTime(day + 2);
    Press(Qt::Key_F5);

    EXPECT_TRUE(window_->CaptionPanel1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window_->DBGridEx2);
    EXPECT_EQ(window_->CAjuste->Filter(), "AJCI_FECINI = " + QuotedDateText(day));
    EXPECT_EQ(window_->CAjuste->RecordCount(), 3);
    EXPECT_EQ(window_->CAjuste->RecNo(), 3) << "on the last row";
    EXPECT_EQ(DayRows(day).size(), 2u) << "nothing stored while the editor is open";

    Press(Qt::Key_F5);
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_FALSE(window_->CAjuste->Active());
    const std::string last = IsoDay(day + 2);
    EXPECT_EQ(DayRows(day), (Rows{{last, "0.0000", "0.8000", "-"},
                                  {last, "5.0000", "0.8000", "-"},
                                  {last, "19.0000", "0.8000", "-"}}));
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Editors, ASecondF5InOneRunSeedsAgainOverTheStoredChanges) {
    OpenConnected();
    Press(Qt::Key_F5);
    ASSERT_TRUE(window_->CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromInteger(0))}, {}));
    SetFactor(window_->CAjusteAJCI_FACTOR, 12500);
    Press(Qt::Key_F5);
    EXPECT_EQ(DayRows(Today())[0][2], "1.2500") << "the changed factor is stored on closing";
    Press(Qt::Key_F5);
    EXPECT_EQ(window_->CAjuste->RecordCount(), 3);
    Press(Qt::Key_F5);
    const Rows rows = DayRows(Today());
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : rows) {
        EXPECT_EQ(row[2], "0.8000");
    }
}

TEST_F(Editors, AnEmptyRateListLeavesTheEditorEmptyAndClosingDeletesTheDaysRows) {
    Probe().Execute("alter table FACTURA_DETALLE drop constraint FK_FADE_TARIFA");
    Probe().Execute("delete from TARIFA_IVA");
    InsertDayRow(Today(), "19", "0.5", "'CA'");
    OpenConnected();
    Press(Qt::Key_F5);
    EXPECT_TRUE(window_->CaptionPanel1->isVisible());
    EXPECT_TRUE(window_->CAjuste->IsEmpty());
    EXPECT_FALSE(window_->DBNavigator1->Buttons(nbDelete)->isEnabled());
    EXPECT_TRUE(window_->DBNavigator1->Buttons(nbInsert)->isEnabled());
    Press(Qt::Key_F5);
    EXPECT_TRUE(DayRows(Today()).empty());
    EXPECT_FALSE(window_->DBNavigator1->Buttons(nbInsert)->isEnabled()) << "table closed";
}

TEST_F(Editors, APlannedRowInsertedWithTheNavigatorShowsIdentifierZeroAndIsStored) {
    OpenConnected();
    const int before = PlannedCount();
    Press(Qt::Key_F7);
    EXPECT_TRUE(window_->CaptionPanel2->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window_->DBGridEx1);
    EXPECT_EQ(window_->CAjusteAu->RecNo(), window_->CAjusteAu->RecordCount());
    Click(window_->DBNavigator2, nbInsert);
    EXPECT_EQ(window_->CAjusteAu->State(), dsInsert);
    EXPECT_EQ(window_->CAjusteAuAJCI_ID->AsInteger(), 0);
    EXPECT_FALSE(window_->CAjusteAuAJCI_ID->IsNull());
    window_->CAjusteAuAJCI_PORC->SetAsCurrency(TCurrency::FromInteger(5));
    Press(Qt::Key_F7);
    EXPECT_FALSE(window_->CaptionPanel2->isVisible());
    EXPECT_EQ(PlannedCount(), before + 1);
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE_AUTO where AJCI_ID = 0"), "0")
        << "the database numbers it";
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Editors, DownOnTheLastPlannedRowAppendsAnEmptyRowThatIsStoredEachTime) {
    OpenConnected();
    const int before = PlannedCount();
    Press(Qt::Key_F7);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_F7);
    EXPECT_EQ(PlannedCount(), before + 3) << "the third is posted by the closing";
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE_AUTO where AJCI_PORC is null and "
                             "AJCI_FECINI is null and AJCI_FACTOR is null and AJCI_PREFNO is null"),
              "3");
}

TEST_F(Editors, ClosingThePlannedEditorStoresChangesOfRowsOfAnyDate) {
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (900, '2001-03-01', '2001-03-31', 7, 1, NULL)");
    OpenConnected();
    Press(Qt::Key_F7);
    ASSERT_TRUE(window_->CAjusteAu->Locate("AJCI_ID", {TVariant(900)}, {}));
    SetFactor(window_->CAjusteAuAJCI_FACTOR, 9000);
    window_->CAjusteAu->First();
    window_->CAjusteAu->Delete();
    Press(Qt::Key_F7);
    EXPECT_EQ(
        Probe().Scalar("select cast(AJCI_FACTOR as varchar(20)) from AJUSTE_CIERRE_AUTO where AJCI_ID = 900"),
        "0.9000");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Editors, F2WithTheClosingEditorOpenStoresAChangedFactorBeforePosting) {
    OpenConnected();
    window_->EFecIni->SetDateTime(Today() - 3);
    Press(Qt::Key_F5);
    ASSERT_TRUE(window_->CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(TCurrency::FromInteger(5))}, {}));
    SetFactor(window_->CAjusteAJCI_FACTOR, 9500);
    Press(Qt::Key_F2);
    EXPECT_TRUE(window_.isNull() || window_->CaptionPanel1->isHidden());
    EXPECT_EQ(DayRows(Today() - 3)[1][2], "0.9500");
    EXPECT_EQ(ExitStatus(), 0) << "posted and ended";
}

TEST_F(Editors, ARowInsertedByHandIntoTheClosingEditorKeepsItOpenAndStoresNothing) {
    InsertDayRow(Today(), "19", "0.5", "'CA'");
    OpenConnected();
    Press(Qt::Key_F5);
    Click(window_->DBNavigator1, nbInsert);
    window_->CAjusteAJCI_PORC->SetAsCurrency(TCurrency::FromInteger(7));
    Press(Qt::Key_F5);
    EXPECT_EQ(OnlyBox().text, "Los campos AJCI_ID,  son obligatorios.");
    EXPECT_TRUE(window_->CaptionPanel1->isVisible());
    EXPECT_EQ(window_->CAjuste->State(), dsInsert);
    EXPECT_EQ(DayRows(Today()), (Rows{{IsoDay(Today()), "19.0000", "0.5000", "CA"}}));
    Click(window_->DBNavigator1, nbCancel);
    Press(Qt::Key_F5);
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_EQ(DayRows(Today()).size(), 3u);
}

// F2 cannot post past a row that cannot be stored: the run stops, and the editor comes back on that
// row so the clerk completes or cancels it; F5 then works as before.
TEST_F(Editors, F2OverARowThatCannotBeStoredStopsTheRunAndShowsTheEditorAgain) {
    OpenConnected();
    Press(Qt::Key_F5);
    Click(window_->DBNavigator1, nbInsert);
    window_->CAjusteAJCI_PORC->SetAsCurrency(TCurrency::FromInteger(7));
    Press(Qt::Key_F2);
    EXPECT_EQ(OnlyBox().text, "Los campos AJCI_ID,  son obligatorios.");
    ASSERT_FALSE(window_.isNull());
    EXPECT_EQ(ExitStatus(), -1) << "nothing posted";
    EXPECT_TRUE(window_->CaptionPanel1->isVisible());
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == window_->DBGridEx2 || window_->DBGridEx2->isAncestorOf(focus)) << "in the grid";
    EXPECT_EQ(window_->CAjuste->State(), dsInsert);
    Click(window_->DBNavigator1, nbCancel);
    Press(Qt::Key_F5);
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(DayRows(Today()).size(), 3u);
}

// Esc with a date cell's calendar open closes the calendar only: the window stays, and what was
// typed into the cell stays to be stored.
TEST_F(Editors, EscWithTheCalendarOpenClosesOnlyTheCalendar) {
    OpenConnected();
    Press(Qt::Key_F5);
    SetFactor(window_->CAjusteAJCI_FACTOR, 9100);
    window_->CAjuste->Post();
    QTest::keyClicks(QApplication::focusWidget(), "1");
    auto* editor = window_->DBGridEx2->InplaceEdit();
    ASSERT_TRUE(editor != nullptr && editor->isVisible());
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->DroppedDown());
    Press(Qt::Key_Escape);
    ASSERT_FALSE(window_.isNull());
    EXPECT_EQ(ExitStatus(), -1) << "the window did not close";
    EXPECT_FALSE(editor->DroppedDown());
    EXPECT_EQ(editor->text(), "1");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Editors, ARejectedChangeRollsEverythingBackAndDropsTheEditorsChanges) {
    InsertDayRow(Today(), "12", "0.5", "'CA'");
    OpenConnected();
    Press(Qt::Key_F5);
    InsertDayRow(Today(), "5", "1", "NULL");
    Press(Qt::Key_F5);
    EXPECT_EQ(OnlyBox().text, "Ya existe el registro en la tabla Ajuste");
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_FALSE(window_->CAjuste->Active());
    EXPECT_EQ(DayRows(Today()), (Rows{{IsoDay(Today()), "5.0000", "1.0000", "-"},
                                      {IsoDay(Today()), "12.0000", "0.5000", "CA"}}));
}

TEST_F(Editors, ASeedingErrorLeavesTheTableOpenAndTheNextF5StartsOver) {
    InsertDayRow(Today(), "12", "0.5", "'CA'");
    OpenConnected();
    window_->CAjusteAJCI_PREFNO->SetRequired(true);
    Press(Qt::Key_F5);
    EXPECT_EQ(OnlyBox().text, "Los campos AJCI_PREFNO,  son obligatorios.");
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    EXPECT_TRUE(window_->CAjuste->Active());
    EXPECT_EQ(window_->CAjuste->ChangeCount(), 1) << "the deletion stays in the change log";

    window_->CAjusteAJCI_PREFNO->SetRequired(false);
    Press(Qt::Key_F5);
    EXPECT_TRUE(window_->CaptionPanel1->isVisible());
    EXPECT_EQ(window_->CAjuste->RecordCount(), 3);
    Press(Qt::Key_F5);
    EXPECT_EQ(DayRows(Today()).size(), 3u);
    EXPECT_EQ(boxes_.Shown().size(), 1u);
}

TEST_F(Editors, AnOpeningErrorShowsTheDefaultBoxAndNoEditor) {
    Open();
    Press(Qt::Key_F5);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_FALSE(window_->CaptionPanel1->isVisible());
    Press(Qt::Key_F7);
    EXPECT_EQ(boxes_.Shown().size(), 2u);
    EXPECT_FALSE(window_->CaptionPanel2->isVisible());
}

TEST_F(Editors, ClosingTheWindowWithAnEditorOpenDropsItsChanges) {
    InsertDayRow(Today(), "12", "0.5", "'CA'");
    OpenConnected();
    Press(Qt::Key_F5);
    Press(Qt::Key_Escape);
    EXPECT_EQ(ExitStatus(), 0);
    EXPECT_EQ(DayRows(Today()), (Rows{{IsoDay(Today()), "12.0000", "0.5000", "CA"}}));
}

TEST_F(Editors, BothEditorsOpenThePlannedOneOnTopEachWithItsCaptionBarAndInTheTabOrder) {
    OpenConnected();
    Press(Qt::Key_F7);
    Press(Qt::Key_F5);
    ASSERT_TRUE(window_->CaptionPanel1->isVisible() && window_->CaptionPanel2->isVisible());
    EXPECT_TRUE(window_->CaptionPanel2->isAncestorOf(window_->childAt(100, 100)));
    EXPECT_EQ(window_->DBNavigator1->geometry(), QRect(1, 150, 303, 18));
    EXPECT_EQ(window_->DBGridEx1->geometry(), QRect(1, 19, 303, 131));
    const QImage image = window_->grab().toImage();
    EXPECT_EQ(image.pixelColor(8 + 10, 16 + 1), clHighlight)
        << "CaptionPanel1's bar shows above CaptionPanel2";
    EXPECT_EQ(image.pixelColor(32 + 200, 24 + 18), clHighlight);
    EXPECT_EQ(image.pixelColor(32 + 200, 24 + 0), clBtnHighlight);

    window_->EFecFin->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->DBGridEx2);
    Press(Qt::Key_F5);
    window_->EFecFin->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->DBGridEx1);
    Press(Qt::Key_F7);
    window_->EFecFin->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->Servidor));
}

}  // namespace
}  // namespace contado
