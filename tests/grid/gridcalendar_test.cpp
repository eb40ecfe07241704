#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QScreen>
#include <QTableView>

#include "data/dataset/dataset.h"
#include "grid/popupmonthcalendarex.h"
#include "tests/grid/grideditfixture.h"

// The month calendar of the date cells with real keys, wheel and mouse: where it opens and on which
// day, what Enter, Esc, the wheel, the button and clicks elsewhere do, and what it writes.

namespace contado {
namespace {

class GridCalendar : public GridEditTest {
  protected:
    TPopupMonthCalendarEx* Calendar() const { return Editor() != nullptr ? Editor()->Calendar() : nullptr; }
    bool DroppedDown() const {
        return Editor() != nullptr && Editor()->DroppedDown() && Calendar()->isVisible();
    }
    QRect EditorOnScreen() const { return QRect(Editor()->mapToGlobal(QPoint(0, 0)), Editor()->size()); }
    void Wheel(int notches) {
        QWheelEvent event(QPointF(40, 40), grid_->mapToGlobal(QPointF(40, 40)), QPoint(),
                          QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid_, &event);
    }
    // The centre of a day cell of the calendar's table (row 0 names the days), in popup coordinates.
    QPoint DayCell(int row, int column) const {
        auto* view = Calendar()->Calendar()->findChild<QTableView*>();
        const QRect cell = view->visualRect(view->model()->index(row, column));
        return view->viewport()->mapTo(Calendar(), cell.center());
    }
    void ClickCalendar(QPoint point) {
        QWidget* target = Calendar()->childAt(point);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(Calendar(), point));
    }
};

TEST_F(GridCalendar, EnterWritesTheChosenDayKeepsTheCellAndTheNextEnterMoves) {
    Open(2);
    Press(Qt::Key_F2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    EXPECT_EQ(Calendar()->Date(), QDate(2024, 1, 1)) << "the stored date";
    EXPECT_EQ(QApplication::focusWidget(), Editor()) << "the editor keeps the focus";
    Press(Qt::Key_Right);
    Press(Qt::Key_Down);
    EXPECT_EQ(Calendar()->Date(), QDate(2024, 1, 9));
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Calendar()->Date(), QDate(2024, 2, 9));
    Press(Qt::Key_Return);
    EXPECT_FALSE(DroppedDown());
    EXPECT_EQ(Text("AJCI_FECINI"), "09/02/2024");
    EXPECT_EQ(Editor()->text(), "09/02/2024");
    EXPECT_EQ(CAjusteAu->State(), dsEdit);
    EXPECT_EQ(grid_->CurrentColumn(), 0) << "the Enter was used up";
    EXPECT_TRUE(EditorShown());
    Press(Qt::Key_Return);
    EXPECT_EQ(grid_->CurrentColumn(), 1);
}

TEST_F(GridCalendar, EscClosesOnlyTheCalendarAndAnInvalidTextOpensOnTheStoredDate) {
    Open(2);
    Press(Qt::Key_F2);
    Type("/x");
    Press(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(DroppedDown());
    EXPECT_EQ(Calendar()->Date(), QDate(2024, 1, 1));
    Press(Qt::Key_Right);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(DroppedDown());
    EXPECT_EQ(Editor()->text(), "01/01/2024/x") << "the typed text stays";
    EXPECT_EQ(Text("AJCI_FECINI"), "01/01/2024");
    EXPECT_TRUE(EditorShown());
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(GridCalendar, AnEmptyCellOpensOnTodayAndTheWheelMovesTheDay) {
    Open(1);
    Press(Qt::Key_Insert);
    ASSERT_EQ(CAjusteAu->State(), dsInsert);
    Press(Qt::Key_F2);
    Press(Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    EXPECT_EQ(Calendar()->Date(), QDate::currentDate());
    Wheel(3);
    EXPECT_EQ(Calendar()->Date(), QDate::currentDate().addDays(3));
    EXPECT_EQ(CAjusteAu->State(), dsInsert) << "the wheel moved no record";
    Press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(DroppedDown());
    const QDate day = QDate::currentDate().addDays(3);
    EXPECT_EQ(Field("AJCI_FECINI").AsDateTime(), EncodeDate(day.year(), day.month(), day.day()));
}

TEST_F(GridCalendar, APressInADateCellsButtonZoneOpensItAndAClickOnADayWritesIt) {
    Open(3);
    const QRect cell = grid_->Geometry().CellRect(1, 2);
    Click(QPoint(cell.left() + cell.width() - 8, cell.center().y()));
    EXPECT_EQ(CAjusteAu->RecNo(), 3);
    ASSERT_TRUE(DroppedDown()) << "the click that opened it does not close it";
    EXPECT_EQ(Calendar()->Date(), QDate(2024, 12, 31));
    EXPECT_EQ(Calendar()->HitTest(DayCell(0, 2)), TPopupMonthCalendarEx::chDayName);
    ASSERT_EQ(Calendar()->HitTest(DayCell(2, 3)), TPopupMonthCalendarEx::chDay);
    ClickCalendar(DayCell(2, 3));
    Settle();
    EXPECT_FALSE(DroppedDown());
    const QDate chosen = Calendar()->Date();
    EXPECT_EQ(chosen.month(), 12);
    EXPECT_EQ(Text("AJCI_FECFIN"), chosen.toString("dd/MM/yyyy").toStdString());
    EXPECT_EQ(CAjusteAu->RecNo(), 3);
}

TEST_F(GridCalendar, TheButtonOpensItAClickOnItClosesItAndAClickElsewhereDropsTheDay) {
    Open(2);
    Press(Qt::Key_F2);
    const QPoint button(Editor()->width() - 8, Editor()->height() / 2);
    QTest::mouseClick(Editor(), Qt::LeftButton, Qt::NoModifier, button);
    ASSERT_TRUE(DroppedDown());
    Press(Qt::Key_Right);
    QTest::mouseClick(Editor(), Qt::LeftButton, Qt::NoModifier, button);
    EXPECT_FALSE(DroppedDown());
    EXPECT_EQ(Text("AJCI_FECINI"), "01/01/2024");
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    Press(Qt::Key_Right);
    QTest::mouseClick(other_, Qt::LeftButton);
    EXPECT_FALSE(DroppedDown());
    EXPECT_EQ(Text("AJCI_FECINI"), "01/01/2024");
}

TEST_F(GridCalendar, NearTheBottomOfTheScreenItOpensAboveTheCell) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    window_->move(area.left() + 10, area.bottom() - 150);
    Open(2);
    Press(Qt::Key_F2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    const QRect popup = Calendar()->geometry();
    EXPECT_EQ(popup.bottom() + 1, EditorOnScreen().top());
    EXPECT_EQ(popup.left(), EditorOnScreen().left());
    EXPECT_EQ(popup.size(), Calendar()->SmallestSize());
}

TEST_F(GridCalendar, DecimalCellsHaveNoButtonAndAltDownDoesNothing) {
    Open(1);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_F2);
    EXPECT_FALSE(Editor()->HasDropDown());
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Calendar(), nullptr);
    EXPECT_EQ(grid_->CurrentColumn(), 2);
}

// The month name takes no menu of its own here: a click on it takes the day the calendar shows.
TEST_F(GridCalendar, AReleaseOnTheMonthNameTakesTheDayAndOpensNoMenu) {
    Open(2);
    Press(Qt::Key_F2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    Press(Qt::Key_Right);
    auto* month = Calendar()->Calendar()->findChild<QWidget*>("qt_calendar_monthbutton");
    ASSERT_NE(month, nullptr);
    const QPoint centre = month->mapTo(Calendar(), month->rect().center());
    ASSERT_EQ(Calendar()->HitTest(centre), TPopupMonthCalendarEx::chMonth);
    ClickCalendar(centre);
    Settle();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no month menu";
    EXPECT_FALSE(DroppedDown());
    EXPECT_EQ(Text("AJCI_FECINI"), "02/01/2024");
}

// A calendar belongs to the row it was opened on: a new row, or any move, closes it, so a later
// Enter cannot write the old row's day into another.
TEST_F(GridCalendar, InsertOrAMoveClosesItAndTheNextEnterWritesNothing) {
    Open(3);
    Press(Qt::Key_F2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    Press(Qt::Key_Insert);
    ASSERT_EQ(CAjusteAu->State(), dsInsert);
    EXPECT_FALSE(DroppedDown());
    Press(Qt::Key_Return);
    EXPECT_EQ(Text("AJCI_FECINI"), "") << "the new row got no date";
    CAjusteAu->Cancel();
    Press(Qt::Key_F2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DroppedDown());
    CAjusteAu->Prior();
    EXPECT_FALSE(DroppedDown());
}

TEST(PopupPlace, BelowAboveCutAndInsideTheWorkArea) {
    const QRect area(0, 0, 800, 600);
    const QSize size(200, 150);
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(100, 100, 75, 17), size, area), QRect(100, 117, 200, 150));
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(100, 500, 75, 17), size, area), QRect(100, 350, 200, 150));
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(100, 100, 75, 17), QSize(200, 560), area),
              QRect(100, 117, 200, 483))
        << "more room below: cut there";
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(100, 400, 75, 17), QSize(200, 560), area),
              QRect(100, 0, 200, 400))
        << "more room above: cut there";
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(700, 100, 75, 17), size, area), QRect(600, 117, 200, 150));
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(-50, 100, 75, 17), size, area), QRect(0, 117, 200, 150));
    EXPECT_EQ(TPopupMonthCalendarEx::Place(QRect(10, 100, 75, 17), QSize(900, 150), area),
              QRect(0, 117, 800, 150));
}

}  // namespace
}  // namespace contado
