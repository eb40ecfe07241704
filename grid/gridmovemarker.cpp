#include "grid/gridmovemarker.h"

#include <QPainter>
#include <algorithm>

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

// The heads are drawn row by row, each a pixel narrower on either side than the one before, so the
// widest row is exactly the marker's width whatever the painter's rules for polygon edges.
void TGridMoveMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int middle = kWidth / 2;
    const int bottom = height() - 1;
    painter.fillRect(QRect(middle, 0, 1, height()), kMarkerColor);
    for (int row = 0; row < kHeadHeight; ++row) {
        const int width = std::max(kWidth - 2 * row, 1);
        const int left = (kWidth - width) / 2;
        painter.fillRect(QRect(left, row, width, 1), kMarkerColor);
        painter.fillRect(QRect(left, bottom - row, width, 1), kMarkerColor);
    }
}

}  // namespace contado
