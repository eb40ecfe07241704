#include <QAbstractSlider>
#include <QApplication>
#include <QWheelEvent>
#include <set>

#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "tests/grid/gridfixture.h"

namespace contado {
namespace {

class GridScroll : public GridTest {
  protected:
    // 30 records in the closing-adjustment grid: 5 rows visible, both bars shown.
    void ShowThirtyRecords() {
        ConfigureClosingColumns();
        FillPlanned(30);
        OpenTable();
        ShowFocused();
        ASSERT_EQ(grid_->Geometry().VisibleRowCount(), 5);
    }
    std::set<int> Painted() const { return {grid_->PaintedRows().begin(), grid_->PaintedRows().end()}; }
    int RecNo() const { return CAjusteAu->RecNo(); }
    void Bar(QAbstractSlider::SliderAction action) { grid_->VerticalScrollBar()->triggerAction(action); }
    void Wheel(int delta) {
        QWheelEvent event(QPointF(50, 50), grid_->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid_, &event);
    }
};

TEST_F(GridScroll, MovingPastTheBottomRowRepaintsOnlyTheNewBottomRowAndTheOldCurrentRow) {
    ShowThirtyRecords();
    CAjusteAu->MoveBy(4);
    Settle();
    ASSERT_EQ(grid_->CurrentRow(), 4);
    grid_->ClearPaintedRows();
    CAjusteAu->Next();
    EXPECT_EQ(grid_->PaintedRows().size(), 2u) << "each row once, at once";
    EXPECT_EQ(Painted(), (std::set<int>{3, 4}));
    EXPECT_EQ(grid_->CurrentRow(), 4);
    EXPECT_EQ(grid_->VerticalScrollBar()->value(), 6);

    CAjusteAu->MoveBy(-4);
    ASSERT_EQ(grid_->CurrentRow(), 0);
    grid_->ClearPaintedRows();
    CAjusteAu->Prior();
    EXPECT_EQ(Painted(), (std::set<int>{0, 1}))
        << "one row down: the uncovered top row and the old current row";
    EXPECT_EQ(RecNo(), 1);
}

TEST_F(GridScroll, MovingWithinTheViewRepaintsTheOldAndNewCurrentRows) {
    ShowThirtyRecords();
    grid_->ClearPaintedRows();
    CAjusteAu->MoveBy(2);
    EXPECT_EQ(Painted(), (std::set<int>{0, 2}));
}

TEST_F(GridScroll, MovingByMoreRowsThanVisibleRepaintsAll) {
    ShowThirtyRecords();
    grid_->ClearPaintedRows();
    CAjusteAu->MoveBy(12);
    EXPECT_EQ(Painted(), (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(grid_->CurrentRow(), 4);
}

TEST_F(GridScroll, DataChangesRepaintOnlyWhatChanged) {
    ShowThirtyRecords();
    CAjusteAu->MoveBy(2);
    Settle();
    grid_->ClearPaintedRows();
    CAjusteAu->Edit();
    Settle();
    EXPECT_EQ(Painted(), (std::set<int>{0, 1, 2, 3, 4})) << "a record change without a field";
    grid_->ClearPaintedRows();
    CAjusteAu->FieldByName("AJCI_PREFNO").SetAsString("Ñ");
    Settle();
    EXPECT_EQ(Painted(), (std::set<int>{2}));
    grid_->ClearPaintedRows();
    CAjusteAu->FieldByName("AJCI_ID").SetAsInteger(2);
    Settle();
    EXPECT_TRUE(Painted().empty()) << "a field without a column";
    CAjusteAu->Cancel();
}

TEST_F(GridScroll, VerticalBarActionsMoveRecords) {
    ShowThirtyRecords();
    CAjusteAu->MoveBy(2);
    Bar(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(RecNo(), 6) << "the record just below the bottom row";
    EXPECT_EQ(grid_->VerticalScrollBar()->value(), 6);
    CAjusteAu->MoveBy(-2);
    ASSERT_EQ(grid_->CurrentRow(), 2);
    Bar(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(RecNo(), 1) << "the record just above the top row";
    Bar(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(RecNo(), 6);
    Bar(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(RecNo(), 1);
    Bar(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(RecNo(), 30);
    EXPECT_EQ(grid_->VerticalScrollBar()->value(), 30);
    Bar(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(RecNo(), 1);
    grid_->VerticalScrollBar()->setSliderPosition(20);
    EXPECT_EQ(RecNo(), 20) << "the view follows the thumb";
    EXPECT_TRUE(grid_->hasFocus());
}

TEST_F(GridScroll, VerticalRequestIgnoredWhenTheGridCannotTakeTheFocus) {
    ShowThirtyRecords();
    grid_->setFocusPolicy(Qt::NoFocus);
    Bar(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(grid_->VerticalScrollBar()->value(), 1);
}

TEST_F(GridScroll, WheelMovesOneRecordPerNotch) {
    ShowThirtyRecords();
    Wheel(-120);
    EXPECT_EQ(RecNo(), 2);
    Wheel(-60);
    EXPECT_EQ(RecNo(), 2) << "half a notch waits";
    Wheel(-60);
    EXPECT_EQ(RecNo(), 3);
    Wheel(240);
    EXPECT_EQ(RecNo(), 1);
}

TEST_F(GridScroll, HorizontalBarByPixelsKeepsRecordAndColumn) {
    ShowThirtyRecords();
    QScrollBar* bar = grid_->HorizontalScrollBar();
    ASSERT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), 15) << "W 285 - D 270";
    EXPECT_EQ(bar->pageStep(), 270);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid_->HorizontalOffset(), 13) << "D / 20";
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid_->HorizontalOffset(), 15) << "clipped to W - D";
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid_->HorizontalOffset(), 0);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid_->HorizontalOffset(), 15);
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(grid_->Geometry().CellRect(0, 0).left(), 12 - 15) << "the first column partly hidden";
}

TEST_F(GridScroll, CurrentColumnIsKeptInView) {
    ConfigurePlannedColumns();
    FillPlanned(1);
    OpenTable();
    ShowFocused();
    grid_->SetCurrentColumn(4);
    EXPECT_EQ(grid_->HorizontalOffset(), 2) << "the last column shifts the view 2 pixels left";
    EXPECT_EQ(grid_->HorizontalScrollBar()->value(), 2);
    grid_->SetCurrentColumn(2);
    EXPECT_EQ(grid_->HorizontalOffset(), 2) << "wholly visible: no move";
    grid_->SetCurrentColumn(0);
    EXPECT_EQ(grid_->HorizontalOffset(), 0);
    grid_->SetCurrentColumn(7);
    EXPECT_EQ(grid_->CurrentColumn(), 0) << "no such column";
}

}  // namespace
}  // namespace contado
