#include <gtest/gtest.h>

#include "data/dataset/dataset.h"
#include "grid/gridcolumndrag.h"
#include "grid/gridmovemarker.h"
#include "grid/gridticker.h"
#include "tests/grid/grideditfixture.h"

// The mouse on the grid: presses on cells, the indicator and a date cell's drop-down zone; sizing
// a column by its title's border and moving it by its title, with the drag's clock ticked by hand.

namespace contado {
namespace {

// A clock the test ticks itself.
class THandTicker : public TGridTicker {
  public:
    void Start(std::function<void()> tick) override { tick_ = std::move(tick); }
    void Stop() override { tick_ = nullptr; }
    bool Running() const override { return static_cast<bool>(tick_); }
    void Tick() const { tick_(); }

  private:
    std::function<void()> tick_;
};

class GridMouse : public GridEditTest {
  protected:
    void Open(int rows) {
        GridEditTest::Open(rows);
        auto ticker = std::make_unique<THandTicker>();
        ticker_ = ticker.get();
        grid_->ColumnDrag().SetTicker(std::move(ticker));
    }
    QWidget* Client() const { return grid_->Viewport(); }
    // The pixel column of the line right of a data column.
    int LineRight(int column) const {
        return grid_->Geometry().ColumnLeft(column) + grid_->Columns().Items(column)->Width();
    }
    int TitleY() const { return grid_->TitleRowHeight() / 2; }
    std::vector<std::string> FieldOrder() const {
        std::vector<std::string> names;
        for (int index = 0; index < grid_->Columns().Count(); ++index) {
            names.push_back(grid_->Columns().Items(index)->FieldName());
        }
        return names;
    }
    std::vector<std::string> RecordTexts() {
        std::vector<std::string> texts;
        for (CAjusteAu->First(); !CAjusteAu->Eof(); CAjusteAu->Next()) {
            for (const char* name : {"AJCI_FECINI", "AJCI_PORC", "AJCI_FACTOR"}) {
                texts.push_back(Text(name));
            }
        }
        return texts;
    }

    THandTicker* ticker_ = nullptr;
};

TEST_F(GridMouse, APressMovesToTheCellAndASecondPressOnItShowsTheEditor) {
    Open(3);
    Click(CellCentre(2, 1));
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    EXPECT_EQ(grid_->CurrentColumn(), 2);
    EXPECT_FALSE(EditorShown());
    Click(CellCentre(2, 1));
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), "2");
    Type("6");
    Click(CellCentre(3, 2));
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(CAjusteAu->RecNo(), 3);
    CAjusteAu->Prior();
    EXPECT_EQ(Text("AJCI_PORC"), "6") << "the press wrote the text and the move posted it";
}

TEST_F(GridMouse, TheIndicatorMovesTheRecordWithoutEditorAndEmptyRowsHoldNone) {
    Open(2);
    Click(grid_->Geometry().IndicatorRect(1).center());
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    EXPECT_FALSE(EditorShown());
    Click(CellCentre(1, 4));
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    EXPECT_FALSE(EditorShown());
    QTest::mouseClick(Client(), Qt::RightButton, Qt::NoModifier, CellCentre(0, 0));
    EXPECT_EQ(CAjusteAu->RecNo(), 1);
    EXPECT_FALSE(EditorShown()) << "only the left button opens the editor";
}

TEST_F(GridMouse, TheRightEdgeOfADateCellOpensTheEditorAndItsDropDownAtOnce) {
    Open(2);
    Press(Qt::Key_F2);
    Press(Qt::Key_Escape);
    int dropDowns = 0;
    Editor()->OnDropDown = [&dropDowns] { ++dropDowns; };
    const QRect cell = grid_->Geometry().CellRect(1, 1);
    Click(QPoint(cell.left() + cell.width() - 17 - 1, cell.center().y()));
    EXPECT_FALSE(EditorShown()) << "left of the zone the press only moves there";
    Click(CellCentre(0, 0));
    Click(QPoint(cell.left() + cell.width() - 17, cell.center().y()));
    EXPECT_EQ(CAjusteAu->RecNo(), 2);
    EXPECT_EQ(grid_->CurrentColumn(), 1);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(dropDowns, 1);
}

TEST_F(GridMouse, DraggingATitleBorderSizesTheColumnButNeverBelowTwoPixels) {
    Open(2);
    const std::vector<std::string> before = RecordTexts();
    const int line = LineRight(2);
    QTest::mouseMove(Client(), QPoint(line + 2, TitleY()));
    EXPECT_EQ(Client()->cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(line + 2, TitleY()));
    ASSERT_EQ(grid_->ColumnDrag().Mode(), TGridColumnDrag::dmSizing);
    QTest::mouseMove(Client(), QPoint(line - 8, TitleY()));
    EXPECT_EQ(grid_->ColumnDrag().SizingLine(), line - 10) << "the grip on the line is kept";
    Settle();
    const QImage image = Grab();
    const QColor cell = ClientPixel(image, line - 10, grid_->Geometry().RowTop(1) + 4);
    EXPECT_EQ(cell, QColor(0, 0, 0)) << "the dotted line inverts the white cell";
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(line - 8, TitleY()));
    EXPECT_EQ(grid_->Columns().Items(2)->Width(), 28);
    const int left = grid_->Geometry().ColumnLeft(2);
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(LineRight(2), TitleY()));
    QTest::mouseMove(Client(), QPoint(left + 1, TitleY()));
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(left + 1, TitleY()));
    EXPECT_EQ(grid_->Columns().Items(2)->Width(), 28) << "1 pixel leaves the width";
    EXPECT_EQ(RecordTexts(), before);
}

TEST_F(GridMouse, DraggingATitleMovesTheColumnWithTheMarkerAndKeepsTheData) {
    Open(2);
    const std::vector<std::string> before = RecordTexts();
    const QPoint factor(grid_->Geometry().TitleRect(3).center().x(), TitleY());
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, factor);
    ASSERT_EQ(grid_->ColumnDrag().Mode(), TGridColumnDrag::dmMoving);
    EXPECT_TRUE(ticker_->Running());
    const QPoint porc(grid_->Geometry().ColumnLeft(2) + 5, TitleY());
    QTest::mouseMove(Client(), porc);
    EXPECT_EQ(grid_->ColumnDrag().Gap(), 2);
    const TGridMoveMarker& marker = grid_->ColumnDrag().Marker();
    EXPECT_TRUE(marker.isVisible());
    EXPECT_EQ(marker.width(), 7);
    EXPECT_EQ(marker.height(), grid_->TitleRowHeight() + 8);
    const QImage painted = const_cast<TGridMoveMarker&>(marker).grab().toImage();
    for (int y : {0, painted.height() - 1}) {
        int red = 0;
        for (int x = 0; x < painted.width(); ++x) {
            red += painted.pixelColor(x, y) == QColor(0xFF, 0x00, 0x00) ? 1 : 0;
        }
        EXPECT_EQ(red, 7) << "the heads are as wide as the marker, row " << y;
    }
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, porc);
    EXPECT_FALSE(marker.isVisible());
    EXPECT_FALSE(ticker_->Running());
    EXPECT_EQ(FieldOrder(), (std::vector<std::string>{"AJCI_FECINI", "AJCI_FECFIN", "AJCI_FACTOR",
                                                      "AJCI_PORC", "AJCI_PREFNO"}));
    EXPECT_EQ(RecordTexts(), before);
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, porc);
    QTest::mouseMove(Client(), QPoint(porc.x(), 60));
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(porc.x(), 60));
    EXPECT_EQ(grid_->Columns().Items(2)->FieldName(), "AJCI_FACTOR") << "released off the titles";
}

TEST_F(GridMouse, HeldBeyondTheRightEdgeTheColumnsScrollAtEveryTick) {
    Open(1);
    grid_->Columns().Items(0)->SetWidth(200);
    const int step = grid_->Geometry().DataAreaWidth() / 20;
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(40, TitleY()));
    QTest::mouseMove(Client(), QPoint(Client()->width() + 5, TitleY()));
    EXPECT_EQ(grid_->HorizontalOffset(), step);
    ticker_->Tick();
    ticker_->Tick();
    EXPECT_EQ(grid_->HorizontalOffset(), 3 * step);
    QTest::mouseMove(Client(), QPoint(-3, TitleY()));
    EXPECT_EQ(grid_->HorizontalOffset(), 2 * step);
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(-3, TitleY()));
    EXPECT_EQ(grid_->Columns().Items(0)->FieldName(), "AJCI_FECINI") << "released outside the titles";
    EXPECT_FALSE(ticker_->Running());
}

}  // namespace
}  // namespace contado
