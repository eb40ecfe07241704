#pragma once

#include <QWidget>

namespace contado {

// The red marker of a column being moved: a vertical line with a triangular head at both ends,
// 7 pixels wide, floating above the grid over the gap the column would be put in.
class TGridMoveMarker : public QWidget {
  public:
    static constexpr int kWidth = 7;
    // The marker reaches this far above and below the title row.
    static constexpr int kOverhang = 4;

    explicit TGridMoveMarker(QWidget* parent);
    // Centres the marker on a pixel column of the grid's client area, over a title row of the
    // given top and height.
    void ShowAt(QWidget* client, int x, int titleTop, int titleHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace contado
