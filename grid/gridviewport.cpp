#include "grid/gridviewport.h"

#include <QMouseEvent>
#include <QPaintEvent>

#include "grid/customgridex.h"

namespace contado {

TGridViewport::TGridViewport(TCustomGridEx* grid) : QWidget(grid), grid_(grid) {
    // Every pixel is painted, so scrolling can shift the image instead of repainting it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusProxy(grid);
    setMouseTracking(true);
}

void TGridViewport::paintEvent(QPaintEvent* event) {
    grid_->PaintClient(event->region());
}

void TGridViewport::mousePressEvent(QMouseEvent* event) {
    grid_->ClientMousePress(event);
}

void TGridViewport::mouseMoveEvent(QMouseEvent* event) {
    grid_->ClientMouseMove(event);
}

void TGridViewport::mouseReleaseEvent(QMouseEvent* event) {
    grid_->ClientMouseRelease(event);
}

// A double click does nothing beyond its first click.
void TGridViewport::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace contado
