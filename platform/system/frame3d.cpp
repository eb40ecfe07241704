#include "platform/system/frame3d.h"

#include <QPainter>

namespace contado {

namespace {

void FrameOnce(QPainter& painter, const QRect& rect, const QColor& topColor, const QColor& bottomColor) {
    const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, top)), topColor);
    painter.fillRect(QRect(QPoint(left, top), QPoint(left, bottom - 1)), topColor);
    painter.fillRect(QRect(QPoint(right, top), QPoint(right, bottom)), bottomColor);
    painter.fillRect(QRect(QPoint(left, bottom), QPoint(right, bottom)), bottomColor);
}

}  // namespace

void Frame3D(QPainter& painter, QRect& rect, const QColor& topColor, const QColor& bottomColor, int width) {
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        FrameOnce(painter, rect, topColor, bottomColor);
        rect.adjust(1, 1, -1, -1);
    }
}

}  // namespace contado
