#pragma once

#include <QWidget>

namespace contado {

class TCustomGridEx;

// The grid's client area: the window its cells are painted into and scrolled in. It paints nothing
// itself; every paint request goes to its grid.
class TGridViewport : public QWidget {
  public:
    explicit TGridViewport(TCustomGridEx* grid);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TCustomGridEx* grid_;
};

}  // namespace contado
