#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QScreen>
#include <QScrollBar>

#include "tests/grid/gridfixture.h"

namespace contado {
namespace {

// Counts the paint events of the object it watches.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// What scrolling leaves on screen against what the grid paints anew: the shifted image and the
// rows and bar repainted after a move must be the grid at its new position.
class GridOnScreen : public GridTest {
  protected:
    // A part of the window as it is shown: the pixels flushed to the offscreen screen.
    QImage Shown(const QWidget* widget) const {
        const QPoint origin = widget->mapTo(window_.get(), QPoint(0, 0));
        const QImage window = window_->screen()->grabWindow(window_->winId()).toImage();
        return window.copy(QRect(origin, widget->size())).convertToFormat(QImage::Format_RGB32);
    }
    // The same part painted anew.
    static QImage Fresh(QWidget* widget) {
        return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage ShownBar() const { return Shown(grid_->VerticalScrollBar()); }
    QImage FreshBar() const { return Fresh(grid_->VerticalScrollBar()); }
};

// Over 600 records the thumb moves by a pixel only every few records. A move that leaves it where it
// is does not repaint the bar, and the bar on screen is always the bar at its value.
TEST_F(GridOnScreen, TheBarShowsTheThumbOfEveryValueAndRepaintsOnlyWhenItMoves) {
    ConfigureClosingColumns();
    FillPlanned(600);
    OpenTable();
    ShowFocused();
    QScrollBar* bar = grid_->VerticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    PaintCounter counter;
    int paints = 0;
    for (int step = 1; step <= 40; ++step) {
        // Paints while the record moves, not those of the fresh bar's grab below.
        bar->installEventFilter(&counter);
        CAjusteAu->Next();
        Settle();
        bar->removeEventFilter(&counter);
        ASSERT_EQ(bar->value(), CAjusteAu->RecNo());
        ASSERT_EQ(ShownBar(), FreshBar()) << "after " << step << " moves";
    }
    paints = counter.paints;
    EXPECT_GT(paints, 0) << "the thumb moved";
    EXPECT_LT(paints, 20) << "moves that kept the thumb painted nothing";

    CAjusteAu->Last();
    Settle();
    EXPECT_EQ(bar->value(), 600);
    EXPECT_EQ(ShownBar(), FreshBar());
    CAjusteAu->MoveBy(-3);
    Settle();
    EXPECT_EQ(ShownBar(), FreshBar());
}

// The old current row is repainted only where being current shows (its indicator and the current
// column's cell, highlighted while the grid has the focus); the rest of it stays as it was shifted.
TEST_F(GridOnScreen, RowsShownAfterEachMoveAreTheRowsPaintedAnew) {
    ConfigureClosingColumns();
    FillPlanned(30);
    OpenTable();
    ShowFocused();
    QWidget* viewport = grid_->Viewport();
    for (int column : {0, 2, 4}) {
        grid_->SetCurrentColumn(column);
        Settle();
        for (int distance : {1, 1, 2, 4, 1, -1, -3, -4, -1, 6, -6}) {
            CAjusteAu->MoveBy(distance);
            Settle();
            ASSERT_EQ(Shown(viewport), Fresh(viewport)) << "column " << column << ", by " << distance;
        }
    }
    other_->setFocus();
    Settle();
    CAjusteAu->MoveBy(5);
    Settle();
    EXPECT_EQ(Shown(viewport), Fresh(viewport)) << "without the focus";
}

}  // namespace
}  // namespace contado
