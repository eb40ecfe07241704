#include "grid/gridcolumndrag.h"

#include <QPainter>
#include <algorithm>

#include "grid/customgridex.h"
#include "grid/gridmovemarker.h"
#include "grid/gridticker.h"

namespace contado {

namespace {

constexpr int kLineStepDivisor = 20;

}  // namespace

TGridColumnDrag::TGridColumnDrag(TCustomGridEx& grid)
    : grid_(grid), ticker_(std::make_unique<TTimerTicker>()) {}

TGridColumnDrag::~TGridColumnDrag() = default;

void TGridColumnDrag::SetTicker(std::unique_ptr<TGridTicker> ticker) {
    ticker_ = std::move(ticker);
}

bool TGridColumnDrag::Press(QPoint point, const TGridHit& hit, bool sizing, bool moving) {
    const TGridGeometry& geometry = grid_.Geometry();
    if (hit.Kind == ghColumnSizing && sizing) {
        mode_ = dmSizing;
        column_ = hit.Column;
        const int edge = geometry.ColumnLeft(column_) + geometry.Settings().ColumnWidths[column_];
        grip_ = point.x() - edge;
        MoveLine(edge);
        return true;
    }
    if ((hit.Kind == ghTitle || hit.Kind == ghColumnSizing) && moving && hit.Column >= 0) {
        grid_.Viewport()->repaint();
        mode_ = dmMoving;
        column_ = hit.Column;
        if (!marker_) {
            marker_ = std::make_unique<TGridMoveMarker>(grid_.window());
        }
        TrackMove(point);
        ticker_->Start([this] { Tick(); });
        return true;
    }
    return false;
}

void TGridColumnDrag::Move(QPoint point) {
    if (mode_ == dmSizing) {
        MoveLine(point.x() - grip_);
    } else if (mode_ == dmMoving) {
        TrackMove(point);
    }
}

void TGridColumnDrag::Tick() {
    if (mode_ == dmMoving) {
        TrackMove(last_);
    }
}

// Both the old and the new line are repainted; painting inverts the pixels under the new one.
void TGridColumnDrag::MoveLine(int x) {
    QWidget* client = grid_.Viewport();
    const int height = client->height();
    if (line_ >= 0) {
        client->update(QRect(line_, 0, 1, height));
    }
    line_ = x;
    client->update(QRect(line_, 0, 1, height));
}

void TGridColumnDrag::Paint(QPainter& painter) const {
    if (mode_ != dmSizing) {
        return;
    }
    QPolygon dots;
    for (int y = 0; y < grid_.Viewport()->height(); y += 2) {
        dots << QPoint(line_, y);
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawPoints(dots);
    painter.restore();
}

void TGridColumnDrag::TrackMove(QPoint point) {
    last_ = point;
    ScrollAtEdge(point.x());
    const TGridGeometry& geometry = grid_.Geometry();
    gap_ = GapAt(point.x());
    marker_->ShowAt(grid_.Viewport(), GapLine(gap_), 0, geometry.Settings().TitleHeight);
}

// Held beyond the left or right edge of the data area, the columns scroll one line step that way.
void TGridColumnDrag::ScrollAtEdge(int x) {
    const TGridGeometry& geometry = grid_.Geometry();
    const int step = std::max(geometry.DataAreaWidth() / kLineStepDivisor, 1);
    if (x < geometry.DataLeft()) {
        grid_.SetHorizontalOffset(grid_.HorizontalOffset() - step);
    } else if (x >= geometry.Settings().ClientSize.width()) {
        grid_.SetHorizontalOffset(grid_.HorizontalOffset() + step);
    }
}

// The gap before the column whose left half holds x; after the last column past its middle.
int TGridColumnDrag::GapAt(int x) const {
    const TGridGeometry& geometry = grid_.Geometry();
    const int count = geometry.ColumnCount();
    for (int column = 0; column < count; ++column) {
        const int width = geometry.Settings().ColumnWidths[column];
        if (x < geometry.ColumnLeft(column) + width / 2) {
            return column;
        }
    }
    return count;
}

// The grid line left of the gap's column, or right of the last column.
int TGridColumnDrag::GapLine(int gap) const {
    const TGridGeometry& geometry = grid_.Geometry();
    if (gap < geometry.ColumnCount()) {
        return geometry.ColumnLeft(gap) - geometry.VertLineWidth();
    }
    return geometry.ColumnsRight() - geometry.VertLineWidth();
}

void TGridColumnDrag::Release(QPoint point) {
    const TMode mode = mode_;
    const int column = column_;
    const TGridGeometry& geometry = grid_.Geometry();
    if (mode == dmSizing) {
        const int width = point.x() - grip_ - geometry.ColumnLeft(column);
        Finish();
        if (width > 1) {
            grid_.ColumnSized(column, width);
        }
    } else if (mode == dmMoving) {
        const bool overTitles = point.y() >= 0 && point.y() < geometry.DataTop() &&
                                point.x() >= geometry.DataLeft() &&
                                point.x() < geometry.Settings().ClientSize.width();
        const int gap = GapAt(point.x());
        Finish();
        if (overTitles && gap != column && gap != column + 1) {
            grid_.ColumnMoved(column, gap > column ? gap - 1 : gap);
        }
    }
}

void TGridColumnDrag::Finish() {
    if (mode_ == dmSizing) {
        grid_.Viewport()->update(QRect(line_, 0, 1, grid_.Viewport()->height()));
    }
    if (mode_ == dmMoving) {
        ticker_->Stop();
        marker_->hide();
    }
    mode_ = dmNone;
    column_ = -1;
    line_ = -1;
    gap_ = -1;
}

}  // namespace contado
