#include "grid/gridviewport.h"

#include <QPaintEvent>

#include "grid/customgridex.h"

namespace contado {

TGridViewport::TGridViewport(TCustomGridEx* grid) : QWidget(grid), grid_(grid) {
    // Every pixel is painted, so scrolling can shift the image instead of repainting it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusProxy(grid);
}

void TGridViewport::paintEvent(QPaintEvent* event) {
    grid_->PaintClient(event->region());
}

}  // namespace contado
