#include "grid/gridgeometry.h"

#include <algorithm>
#include <numeric>

#include "platform/system/systemcolors.h"

namespace contado {

namespace {

// A title's sizing zone reaches this far left and right of the column's right edge.
constexpr int kSizingZoneLeft = 3;
constexpr int kSizingZoneRight = 4;

}  // namespace

QRect TGridGeometry::ClientRect(QSize outer, bool verticalBar, bool horizontalBar) {
    const int width = outer.width() - 2 * kSunkenClientEdge - (verticalBar ? kScrollBarThickness : 0);
    const int height = outer.height() - 2 * kSunkenClientEdge - (horizontalBar ? kScrollBarThickness : 0);
    return QRect(kSunkenClientEdge, kSunkenClientEdge, std::max(width, 0), std::max(height, 0));
}

TGridGeometry::TGridGeometry(TSettings settings) : settings_(std::move(settings)) {}

int TGridGeometry::DataTop() const {
    return settings_.TitleHeight > 0 ? settings_.TitleHeight + HorzLineWidth() : 0;
}

int TGridGeometry::VisibleRowCount() const {
    const int pitch = RowPitch();
    if (pitch <= 0) {
        return 1;
    }
    return std::max(1, (settings_.ClientSize.height() - DataTop()) / pitch);
}

std::pair<int, int> TGridGeometry::RowsIn(const QRect& rect) const {
    const int top = DataTop();
    const int pitch = std::max(RowPitch(), 1);
    if (rect.isEmpty() || rect.bottom() < top) {
        return {0, -1};
    }
    const int first = std::max(rect.top() - top, 0) / pitch;
    const int last = std::min((rect.bottom() - top) / pitch, VisibleRowCount() - 1);
    return {first, last};
}

int TGridGeometry::DataLeft() const {
    return settings_.IndicatorWidth > 0 ? settings_.IndicatorWidth + VertLineWidth() : 0;
}

int TGridGeometry::DataAreaWidth() const {
    return std::max(settings_.ClientSize.width() - DataLeft(), 0);
}

int TGridGeometry::TotalColumnsWidth() const {
    return std::accumulate(settings_.ColumnWidths.begin(), settings_.ColumnWidths.end(), 0) +
           ColumnCount() * VertLineWidth();
}

int TGridGeometry::MaxOffset() const {
    return std::max(TotalColumnsWidth() - DataAreaWidth(), 0);
}

int TGridGeometry::SetOffset(int offset) {
    offset_ = std::clamp(offset, 0, MaxOffset());
    return offset_;
}

int TGridGeometry::OffsetToShow(int column) const {
    if (column < 0 || column >= ColumnCount()) {
        return offset_;
    }
    const int left = ColumnLeft(column) - DataLeft() + offset_;
    const int width = settings_.ColumnWidths[column] + VertLineWidth();
    const int area = DataAreaWidth();
    int offset = offset_;
    if (left < offset_ || width > area) {
        offset = left;
    } else if (left + width > offset_ + area) {
        offset = left + width - area;
    }
    return std::clamp(offset, 0, MaxOffset());
}

int TGridGeometry::ColumnLeft(int column) const {
    int left = DataLeft() - offset_;
    for (int i = 0; i < column && i < ColumnCount(); ++i) {
        left += settings_.ColumnWidths[i] + VertLineWidth();
    }
    return left;
}

int TGridGeometry::ColumnsRight() const {
    return DataLeft() + TotalColumnsWidth() - offset_;
}

std::pair<int, int> TGridGeometry::ColumnsIn(const QRect& rect) const {
    int first = ColumnCount();
    int last = -1;
    for (int column = 0; column < ColumnCount(); ++column) {
        const int left = std::max(ColumnLeft(column), DataLeft());
        const int right = ColumnLeft(column) + settings_.ColumnWidths[column] + VertLineWidth() - 1;
        if (right >= left && right >= rect.left() && left <= rect.right()) {
            first = std::min(first, column);
            last = column;
        }
    }
    return {first, last};
}

QRect TGridGeometry::CellRect(int column, int row) const {
    return QRect(ColumnLeft(column), RowTop(row), settings_.ColumnWidths.at(column), settings_.RowHeight);
}

QRect TGridGeometry::TitleRect(int column) const {
    return QRect(ColumnLeft(column), 0, settings_.ColumnWidths.at(column), settings_.TitleHeight);
}

QRect TGridGeometry::IndicatorRect(int row) const {
    return QRect(0, RowTop(row), settings_.IndicatorWidth, settings_.RowHeight);
}

QRect TGridGeometry::CornerRect() const {
    return QRect(0, 0, settings_.IndicatorWidth, settings_.TitleHeight);
}

QRect TGridGeometry::RowRect(int row) const {
    return QRect(0, RowTop(row), settings_.ClientSize.width(), RowPitch());
}

QRect TGridGeometry::RowsArea() const {
    return QRect(0, DataTop(), settings_.ClientSize.width(), VisibleRowCount() * RowPitch());
}

QRect TGridGeometry::ColumnsArea() const {
    return QRect(DataLeft(), 0, DataAreaWidth(), settings_.ClientSize.height());
}

int TGridGeometry::ColumnAt(int x) const {
    if (x < DataLeft()) {
        return -1;
    }
    for (int column = 0; column < ColumnCount(); ++column) {
        const int left = ColumnLeft(column);
        if (x >= left && x < left + settings_.ColumnWidths[column] + VertLineWidth()) {
            return column;
        }
    }
    return -1;
}

TGridHit TGridGeometry::HitTest(QPoint point) const {
    if (!QRect(QPoint(0, 0), settings_.ClientSize).contains(point)) {
        return {};
    }
    const bool inIndicator = point.x() < DataLeft();
    if (point.y() < DataTop()) {
        if (inIndicator) {
            return {ghCorner, -1, -1};
        }
        for (int column = 0; column < ColumnCount(); ++column) {
            const int edge = ColumnLeft(column) + settings_.ColumnWidths[column];
            if (point.x() >= edge - kSizingZoneLeft && point.x() <= edge + kSizingZoneRight &&
                edge >= DataLeft()) {
                return {ghColumnSizing, column, -1};
            }
        }
        const int column = ColumnAt(point.x());
        return {column >= 0 ? ghTitle : ghEmpty, column, -1};
    }
    const int row = (point.y() - DataTop()) / std::max(RowPitch(), 1);
    if (row >= VisibleRowCount()) {
        return {ghEmpty, inIndicator ? -1 : ColumnAt(point.x()), -1};
    }
    if (inIndicator) {
        return {ghIndicator, -1, row};
    }
    const int column = ColumnAt(point.x());
    return {column >= 0 ? ghCell : ghEmpty, column, row};
}

}  // namespace contado
