#include <gtest/gtest.h>

#include "grid/gridgeometry.h"

namespace contado {
namespace {

// The design size: a 303 x 131 grid, indicator 11, titles and rows of 17.
TGridGeometry DesignGeometry(std::vector<int> widths, bool verticalBar = false, bool horizontalBar = false) {
    TGridGeometry::TSettings settings;
    settings.ClientSize = TGridGeometry::ClientRect(QSize(303, 131), verticalBar, horizontalBar).size();
    settings.IndicatorWidth = 11;
    settings.TitleHeight = 17;
    settings.RowHeight = 17;
    settings.ColumnWidths = std::move(widths);
    return TGridGeometry(settings);
}

const std::vector<int> kPlanned{75, 75, 38, 50, 46};
const std::vector<int> kClosing{75, 75, 40, 50, 40};

TEST(GridGeometry, DesignSizeNumbers) {
    EXPECT_EQ(TGridGeometry::ClientRect(QSize(303, 131), false, false), QRect(2, 2, 299, 127));
    EXPECT_EQ(TGridGeometry::ClientRect(QSize(303, 131), true, true), QRect(2, 2, 282, 110));

    const TGridGeometry closing = DesignGeometry(kClosing);
    EXPECT_EQ(closing.DataLeft(), 12);
    EXPECT_EQ(closing.DataAreaWidth(), 287);
    EXPECT_EQ(closing.TotalColumnsWidth(), 285);
    EXPECT_FALSE(closing.NeedsHorizontalBar());
    EXPECT_EQ(closing.DataTop(), 18);
    EXPECT_EQ(closing.RowPitch(), 18);
    EXPECT_EQ(closing.VisibleRowCount(), 6);

    const TGridGeometry planned = DesignGeometry(kPlanned);
    EXPECT_EQ(planned.TotalColumnsWidth(), 289);
    EXPECT_TRUE(planned.NeedsHorizontalBar());
    EXPECT_EQ(planned.MaxOffset(), 2);
    EXPECT_EQ(DesignGeometry(kPlanned, false, true).VisibleRowCount(), 5);

    const TGridGeometry narrowed = DesignGeometry(kClosing, true, false);
    EXPECT_EQ(narrowed.DataAreaWidth(), 270);
    EXPECT_TRUE(narrowed.NeedsHorizontalBar());
    EXPECT_EQ(DesignGeometry(kClosing, true, true).VisibleRowCount(), 5);
}

TEST(GridGeometry, CellRectanglesExcludeTheirLines) {
    const TGridGeometry g = DesignGeometry(kClosing);
    EXPECT_EQ(g.CornerRect(), QRect(0, 0, 11, 17));
    EXPECT_EQ(g.TitleRect(0), QRect(12, 0, 75, 17));
    EXPECT_EQ(g.TitleRect(1), QRect(88, 0, 75, 17));
    EXPECT_EQ(g.IndicatorRect(0), QRect(0, 18, 11, 17));
    EXPECT_EQ(g.CellRect(2, 1), QRect(164, 36, 40, 17));
    EXPECT_EQ(g.CellRect(4, 5), QRect(256, 108, 40, 17));
    EXPECT_EQ(g.ColumnsRight(), 297);
    EXPECT_EQ(g.RowRect(5), QRect(0, 108, 299, 18));
    EXPECT_EQ(g.RowsArea(), QRect(0, 18, 299, 108));
}

TEST(GridGeometry, AtLeastOneRowAndNothingInAnEmptyClient) {
    TGridGeometry::TSettings settings;
    settings.ClientSize = QSize(0, 0);
    settings.TitleHeight = 17;
    settings.RowHeight = 17;
    const TGridGeometry g(settings);
    EXPECT_EQ(g.VisibleRowCount(), 1);
    EXPECT_EQ(g.HitTest(QPoint(0, 0)).Kind, ghNowhere);
    EXPECT_EQ(g.MaxOffset(), 0);
    EXPECT_EQ(g.ColumnsIn(QRect(0, 0, 100, 100)).second, -1);
}

TEST(GridGeometry, RowsAndColumnsOfADamagedRectangle) {
    const TGridGeometry g = DesignGeometry(kClosing);
    EXPECT_EQ(g.RowsIn(QRect(0, 0, 299, 17)), std::make_pair(0, -1)) << "the title row alone";
    EXPECT_EQ(g.RowsIn(QRect(0, 36, 299, 18)), std::make_pair(1, 1));
    EXPECT_EQ(g.RowsIn(QRect(0, 35, 299, 2)), std::make_pair(0, 1)) << "the line below row 0 belongs to it";
    EXPECT_EQ(g.RowsIn(QRect(0, 120, 299, 7)), std::make_pair(5, 5)) << "the partial strip has no row";
    EXPECT_EQ(g.ColumnsIn(QRect(0, 0, 12, 10)).second, -1) << "the indicator alone";
    EXPECT_EQ(g.ColumnsIn(QRect(87, 0, 2, 10)), std::make_pair(0, 1));
    EXPECT_EQ(g.ColumnsIn(QRect(298, 0, 1, 10)).second, -1) << "right of the last line";
}

TEST(GridGeometry, HorizontalOffsetKeepsTheCurrentColumnInView) {
    TGridGeometry g = DesignGeometry(kClosing, true, true);  // D = 270, W = 285
    EXPECT_EQ(g.MaxOffset(), 15);
    EXPECT_EQ(g.SetOffset(40), 15) << "clipped to W - D";
    EXPECT_EQ(g.SetOffset(-3), 0);
    EXPECT_EQ(g.OffsetToShow(3), 0) << "wholly visible: no move";
    EXPECT_EQ(g.OffsetToShow(4), 15) << "its right line ends at the client's right edge";
    g.SetOffset(15);
    EXPECT_EQ(g.ColumnLeft(0), -3) << "partly hidden under the indicator";
    EXPECT_EQ(g.OffsetToShow(0), 0) << "a column partly left of the view becomes the first shown";
    EXPECT_EQ(g.OffsetToShow(2), 15);

    TGridGeometry wide = DesignGeometry({100, 400, 50});
    EXPECT_EQ(wide.OffsetToShow(1), 101) << "wider than the area: shown from its left edge";
    wide.SetOffset(101);
    EXPECT_EQ(wide.OffsetToShow(2), wide.MaxOffset());
}

TEST(GridGeometry, HitTesting) {
    TGridGeometry g = DesignGeometry(kClosing);
    EXPECT_EQ(g.HitTest(QPoint(5, 5)).Kind, ghCorner);
    const TGridHit title = g.HitTest(QPoint(40, 5));
    EXPECT_EQ(title.Kind, ghTitle);
    EXPECT_EQ(title.Column, 0);
    EXPECT_EQ(g.HitTest(QPoint(84, 5)).Kind, ghColumnSizing) << "3 left of the edge at 87";
    EXPECT_EQ(g.HitTest(QPoint(91, 5)).Kind, ghColumnSizing) << "4 right of it";
    EXPECT_EQ(g.HitTest(QPoint(92, 5)).Kind, ghTitle);
    const TGridHit indicator = g.HitTest(QPoint(3, 40));
    EXPECT_EQ(indicator.Kind, ghIndicator);
    EXPECT_EQ(indicator.Row, 1);
    const TGridHit cell = g.HitTest(QPoint(170, 110));
    EXPECT_EQ(cell.Kind, ghCell);
    EXPECT_EQ(cell.Column, 2);
    EXPECT_EQ(cell.Row, 5);
    EXPECT_EQ(g.HitTest(QPoint(170, 126)).Kind, ghEmpty) << "the strip below the whole rows";
    EXPECT_EQ(g.HitTest(QPoint(298, 40)).Kind, ghEmpty) << "right of the last column";
    g = DesignGeometry(kPlanned, false, true);
    g.SetOffset(2);
    EXPECT_EQ(g.HitTest(QPoint(12, 40)).Column, 0) << "the slid column under the data area's left edge";
    EXPECT_EQ(g.HitTest(QPoint(11, 40)).Kind, ghIndicator);
}

}  // namespace
}  // namespace contado
