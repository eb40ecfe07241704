#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace contado {

// Where a point of the client area lies.
enum TGridHitKind { ghNowhere, ghCorner, ghTitle, ghIndicator, ghCell, ghEmpty, ghColumnSizing };

struct TGridHit {
    TGridHitKind Kind = ghNowhere;
    int Column = -1;  // data column (0 = first shown column), or -1
    int Row = -1;     // data row (0 = first row below the titles), or -1
};

// The grid's cell geometry in client coordinates: the fixed indicator column and title row, the
// data rows below the titles and the data columns right of the indicator, which slide sideways by
// the horizontal offset. Every cell rectangle excludes the grid lines to its right and below it.
// Data rows and columns are counted from 0; the fixed parts are asked for by name.
class TGridGeometry {
  public:
    struct TSettings {
        QSize ClientSize;
        int IndicatorWidth = 0;  // 0: no indicator column
        int TitleHeight = 0;     // 0: no title row
        int RowHeight = 0;
        bool ColLines = true;
        bool RowLines = true;
        std::vector<int> ColumnWidths;  // the shown data columns, lines not counted
    };

    // The area inside the sunken edge of a control of the given outer size, less the bars.
    static QRect ClientRect(QSize outer, bool verticalBar, bool horizontalBar);

    TGridGeometry() = default;
    explicit TGridGeometry(TSettings settings);

    const TSettings& Settings() const { return settings_; }
    int VertLineWidth() const { return settings_.ColLines ? 1 : 0; }
    int HorzLineWidth() const { return settings_.RowLines ? 1 : 0; }
    int ColumnCount() const { return static_cast<int>(settings_.ColumnWidths.size()); }

    // --- Rows
    // The first pixel row below the title row and its line.
    int DataTop() const;
    int RowPitch() const { return settings_.RowHeight + HorzLineWidth(); }
    // Whole data rows that fit, at least 1; a partial row at the bottom is never counted.
    int VisibleRowCount() const;
    int RowTop(int row) const { return DataTop() + row * RowPitch(); }
    // Data rows [first, last] that a rectangle touches, within the whole rows; first > last when none.
    std::pair<int, int> RowsIn(const QRect& rect) const;

    // --- Columns and the horizontal offset
    // The first pixel column right of the indicator and its line.
    int DataLeft() const;
    // D: the width of the data area.
    int DataAreaWidth() const;
    // W: the data columns' total width, each with its line.
    int TotalColumnsWidth() const;
    bool NeedsHorizontalBar() const { return TotalColumnsWidth() > DataAreaWidth(); }
    // W - D, at least 0.
    int MaxOffset() const;
    int Offset() const { return offset_; }
    // Clipped to 0 .. MaxOffset; answers the offset now in effect.
    int SetOffset(int offset);
    // The offset that brings a column into view, moving as little as the rules allow.
    int OffsetToShow(int column) const;
    int ColumnLeft(int column) const;
    // The pixel column right of the last data column's line: the empty area starts there.
    int ColumnsRight() const;
    std::pair<int, int> ColumnsIn(const QRect& rect) const;

    // --- Cells
    QRect CellRect(int column, int row) const;
    QRect TitleRect(int column) const;
    QRect IndicatorRect(int row) const;
    QRect CornerRect() const;
    // A whole data row across the client width, indicator included.
    QRect RowRect(int row) const;
    // The data rows, indicator included, below the titles (whole rows only).
    QRect RowsArea() const;
    // The data columns, titles included, right of the indicator.
    QRect ColumnsArea() const;
    TGridHit HitTest(QPoint point) const;

  private:
    int ColumnAt(int x) const;

    TSettings settings_;
    int offset_ = 0;
};

}  // namespace contado
