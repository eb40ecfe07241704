#pragma once

#include <QWidget>

namespace contado {

class TCustomGridEx;

// The grid's client area: the window its cells are painted into and scrolled in. It paints nothing
// itself; every paint request and every mouse event goes to its grid.
class TGridViewport : public QWidget {
  public:
    explicit TGridViewport(TCustomGridEx* grid);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    TCustomGridEx* grid_;
};

}  // namespace contado
