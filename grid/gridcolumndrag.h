#pragma once

#include <QPoint>
#include <memory>

#include "grid/gridgeometry.h"

class QPainter;

namespace contado {

class TCustomGridEx;
class TGridMoveMarker;
class TGridTicker;

// Sizing and moving a column by its title. Sizing: a dotted line, drawn by inverting pixels,
// follows the mouse at the distance the press had from the column's line; the release gives the
// column the width up to the line when that is more than 1 pixel. Moving: a red marker shows the
// gap the column would be put in; beyond the edges of the data area the columns scroll one line
// step at every move and every tick; a release over another title position moves the column.
class TGridColumnDrag {
  public:
    enum TMode { dmNone, dmSizing, dmMoving };

    explicit TGridColumnDrag(TCustomGridEx& grid);
    ~TGridColumnDrag();

    TMode Mode() const { return mode_; }
    // Starts sizing or moving for a press on a title; answers whether a drag started.
    bool Press(QPoint point, const TGridHit& hit, bool sizing, bool moving);
    void Move(QPoint point);
    void Release(QPoint point);
    // One step of the clock while the button stays down.
    void Tick();
    // The dotted line over whatever was painted.
    void Paint(QPainter& painter) const;

    // The x of the dotted line (sizing) and the gap the column would be put in (moving).
    int SizingLine() const { return line_; }
    int Gap() const { return gap_; }
    const TGridMoveMarker& Marker() const { return *marker_; }
    void SetTicker(std::unique_ptr<TGridTicker> ticker);

  private:
    void MoveLine(int x);
    void TrackMove(QPoint point);
    void ScrollAtEdge(int x);
    int GapAt(int x) const;
    int GapLine(int gap) const;
    void Finish();

    TCustomGridEx& grid_;
    std::unique_ptr<TGridTicker> ticker_;
    std::unique_ptr<TGridMoveMarker> marker_;
    TMode mode_ = dmNone;
    int column_ = -1;
    int grip_ = 0;  // press x minus the column's line x
    int line_ = -1;
    int gap_ = -1;
    QPoint last_;
};

}  // namespace contado
