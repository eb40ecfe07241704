#include <QScrollBar>

#include "data/dataset/dataset.h"
#include "grid/griddatalinkex.h"
#include "tests/grid/gridfixture.h"

namespace contado {
namespace {

using GridLayout = GridTest;

TEST_F(GridLayout, RowHeightsAndIndicatorFromTheFonts) {
    EXPECT_EQ(grid_->IndicatorWidth(), 11);
    EXPECT_EQ(grid_->TitleRowHeight(), 17);
    EXPECT_EQ(grid_->DataRowHeight(), 17);
    grid_->SetFlat(true);
    EXPECT_EQ(grid_->TitleRowHeight(), 15);
    EXPECT_EQ(grid_->DataRowHeight(), 15);
    grid_->SetFlat(false);
    grid_->SetOptions({dgTitles, dgColLines});
    EXPECT_EQ(grid_->IndicatorWidth(), 0);
    EXPECT_EQ(grid_->DataRowHeight(), 16) << "no row lines";
    QFont big = grid_->font();
    big.setPixelSize(22);
    grid_->setFont(big);
    EXPECT_GT(grid_->DataRowHeight(), 17);
}

TEST_F(GridLayout, ClosedTableShowsTitlesAndOneEmptyRowWithoutBars) {
    ConfigurePlannedColumns();
    EXPECT_EQ(grid_->RowCount(), 2);
    EXPECT_TRUE(grid_->VerticalScrollBar()->isHidden());
    EXPECT_EQ(grid_->Viewport()->geometry(), QRect(2, 2, 299, 110)) << "the columns are wider than 287";
}

TEST_F(GridLayout, PlannedGridAlwaysHasAHorizontalBarOfTwoPixels) {
    ConfigurePlannedColumns();
    OpenTable();
    EXPECT_EQ(grid_->RowCount(), 2) << "empty table";
    EXPECT_TRUE(grid_->VerticalScrollBar()->isHidden());
    EXPECT_FALSE(grid_->HorizontalScrollBar()->isHidden());
    EXPECT_EQ(grid_->HorizontalScrollBar()->maximum(), 2);
    EXPECT_EQ(grid_->HorizontalScrollBar()->pageStep(), 287);
    EXPECT_EQ(grid_->HorizontalScrollBar()->singleStep(), 14);
    EXPECT_EQ(grid_->Geometry().VisibleRowCount(), 5);
    grid_->SetHorizontalOffset(50);
    EXPECT_EQ(grid_->HorizontalOffset(), 2);
}

TEST_F(GridLayout, ClosingGridSixRowsUntilTheVerticalBarShows) {
    ConfigureClosingColumns();
    FillPlanned(1);
    OpenTable();
    EXPECT_EQ(grid_->RowCount(), 2);
    EXPECT_EQ(grid_->Geometry().VisibleRowCount(), 6);
    EXPECT_TRUE(grid_->VerticalScrollBar()->isHidden()) << "one record";
    EXPECT_TRUE(grid_->HorizontalScrollBar()->isHidden());
    EXPECT_EQ(CAjusteAu->BufferCount(), 6) << "the buffer count handed to the link";

    CAjusteAu->Append();
    CAjusteAu->FieldByName("AJCI_ID").SetAsInteger(2);
    CAjusteAu->Post();
    EXPECT_FALSE(grid_->VerticalScrollBar()->isHidden()) << "two records";
    EXPECT_FALSE(grid_->HorizontalScrollBar()->isHidden()) << "the data area narrowed to 270";
    EXPECT_EQ(grid_->Geometry().DataAreaWidth(), 270);
    EXPECT_EQ(grid_->Geometry().VisibleRowCount(), 5);
    EXPECT_EQ(grid_->RowCount(), 3);
}

TEST_F(GridLayout, VerticalBarByRecordNumbers) {
    ConfigureClosingColumns();
    FillPlanned(12);
    OpenTable();
    const QScrollBar* bar = grid_->VerticalScrollBar();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 12) << "record count + page - 1 in the window system's terms";
    EXPECT_EQ(bar->pageStep(), 5);
    EXPECT_EQ(bar->value(), 1);
    CAjusteAu->MoveBy(7);
    EXPECT_EQ(bar->value(), 8);
    EXPECT_EQ(grid_->CurrentRow(), 4);
    CAjusteAu->Last();
    EXPECT_EQ(bar->value(), 12);
    EXPECT_EQ(grid_->RowCount(), 6);
    CAjusteAu->Close();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(grid_->RowCount(), 2);
}

TEST_F(GridLayout, ShortTableRowsFollowTheRecords) {
    ConfigureClosingColumns();
    FillPlanned(3);
    OpenTable();
    EXPECT_EQ(grid_->RowCount(), 4);
    CAjusteAu->Last();
    EXPECT_EQ(grid_->CurrentRow(), 2);
    CAjusteAu->Delete();
    EXPECT_EQ(grid_->RowCount(), 3);
    EXPECT_EQ(grid_->CurrentRow(), 1);
}

TEST_F(GridLayout, ResizingRecountsTheRowsAndTheBuffer) {
    ConfigureClosingColumns();
    FillPlanned(30);
    OpenTable();
    ShowFocused();
    CAjusteAu->MoveBy(3);
    grid_->resize(303, 131 + 18 * 4);
    EXPECT_EQ(grid_->Geometry().VisibleRowCount(), 9);
    EXPECT_EQ(CAjusteAu->BufferCount(), 9);
    EXPECT_EQ(grid_->RowCount(), 10);
    EXPECT_EQ(CAjusteAu->RecNo(), 4) << "the current record stays";
    grid_->resize(303, 20);
    EXPECT_EQ(grid_->Geometry().VisibleRowCount(), 1) << "at least one row";
    EXPECT_EQ(CAjusteAu->RecNo(), 4);
}

TEST_F(GridLayout, HiddenColumnsTakeNoRoom) {
    ConfigurePlannedColumns();
    grid_->Columns().Items(4)->SetVisible(false);
    EXPECT_EQ(grid_->Geometry().ColumnCount(), 4);
    EXPECT_EQ(grid_->Geometry().TotalColumnsWidth(), 242);
    EXPECT_TRUE(grid_->HorizontalScrollBar()->isHidden());
}

}  // namespace
}  // namespace contado
