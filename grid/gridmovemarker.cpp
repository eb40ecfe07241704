#include "grid/gridmovemarker.h"

#include <QPainter>

namespace contado {

namespace {

const QColor kMarkerColor(0xFF, 0x00, 0x00);
constexpr int kHeadHeight = 4;

}  // namespace

TGridMoveMarker::TGridMoveMarker(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TGridMoveMarker::ShowAt(QWidget* client, int x, int titleTop, int titleHeight) {
    const QPoint topLeft = client->mapTo(parentWidget(), QPoint(x - kWidth / 2, titleTop - kOverhang));
    setGeometry(QRect(topLeft, QSize(kWidth, titleHeight + 2 * kOverhang)));
    show();
    raise();
}

void TGridMoveMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int middle = kWidth / 2;
    const int bottom = height() - 1;
    painter.fillRect(QRect(middle, 0, 1, height()), kMarkerColor);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMarkerColor);
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(kWidth - 1, 0), QPoint(middle, kHeadHeight - 1)}));
    painter.drawPolygon(
        QPolygon({QPoint(0, bottom), QPoint(kWidth - 1, bottom), QPoint(middle, bottom - kHeadHeight + 1)}));
}

}  // namespace contado
