#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include "data/dataset/dataset.h"
#include "tests/grid/grideditfixture.h"

// The roads into the grid that are not keys, the wheel and the scroll bar's arrows: a text the field
// refuses stops each of them as it stops a key, with its box, the record where it was and the
// editor holding what was typed; and how the editor shows what it holds.

namespace contado {
namespace {

class GridInputPaths : public GridEditTest {
  public:
    void Wheel(int notches) {
        QWheelEvent event(QPointF(40, 40), grid_->mapToGlobal(QPointF(40, 40)), QPoint(),
                          QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid_, &event);
    }
    // Presses the down arrow and holds it.
    void PressDownArrow() {
        QScrollBar* bar = grid_->VerticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.pageStep = bar->pageStep();
        option.singleStep = bar->singleStep();
        const QRect arrow = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar);
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, arrow.center());
    }
};

TEST_F(GridInputPaths, AnInvalidDateStopsTheWheelAndTheScrollBarWithItsBoxAndKeepsTheText) {
    const std::vector<std::pair<const char*, std::function<void(GridInputPaths&)>>> roads = {
        {"wheel", [](GridInputPaths& test) { test.Wheel(1); }},
        {"held scroll bar arrow", [](GridInputPaths& test) { test.PressDownArrow(); }},
    };
    Open(8);
    for (const auto& [road, move] : roads) {
        SCOPED_TRACE(road);
        CAjusteAu->First();
        Press(Qt::Key_F2);
        Press(Qt::Key_Home, Qt::ShiftModifier);
        Type("31/02/2026");
        const size_t before = boxes_.Shown().size();
        move(*this);
        ASSERT_EQ(boxes_.Shown().size(), before + 1);
        EXPECT_EQ(boxes_.Shown().back().text, "'31/02/2026' is not a valid date.");
        EXPECT_EQ(CAjusteAu->RecNo(), 1) << "no move";
        ASSERT_TRUE(EditorShown());
        EXPECT_EQ(Editor()->text(), "31/02/2026");
        QTest::qWait(700);
        EXPECT_EQ(boxes_.Shown().size(), before + 1) << "a held arrow stops repeating at the error";
        QTest::mouseRelease(grid_->VerticalScrollBar(), Qt::LeftButton);
        Editor()->setFocus();
        Editor()->selectAll();
        Type("02/01/2024");
        Press(Qt::Key_Return);
        EXPECT_EQ(Text("AJCI_FECINI"), "02/01/2024");
        CAjusteAu->Post();
    }
}

// A date wider than the room its 75-pixel column leaves beside the button widens the editor, so
// its first digit is not scrolled out; a number stays right-aligned while edited.
TEST_F(GridInputPaths, TheEditorShowsTheWholeDateAndANumberWhereTheCellDrewIt) {
    Open(1);
    Press(Qt::Key_F2);
    ASSERT_TRUE(EditorShown());
    const QString date = Editor()->text();
    EXPECT_EQ(date, "01/01/2024");
    const int textRoom = Editor()->width() - Editor()->ButtonWidth() - 2 - 4 - 1;
    EXPECT_GE(textRoom, Editor()->fontMetrics().horizontalAdvance(date));
    EXPECT_GE(Editor()->width(), grid_->Geometry().CellRect(0, 0).width());
    EXPECT_TRUE(Editor()->alignment() & Qt::AlignLeft);
    Press(Qt::Key_Escape);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_TRUE(Editor()->alignment() & Qt::AlignRight);
    EXPECT_EQ(Editor()->width(), grid_->Geometry().CellRect(2, 0).width()) << "no button, no widening";
}

}  // namespace
}  // namespace contado
