#include "controls/messageicon.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/system/systemfonts.h"

namespace contado {

namespace {

void DrawDisc(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& outline) {
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawEllipse(rect);
}

void DrawSymbol(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& colour) {
    QFont font = MsSansSerifFont(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, symbol);
}

void DrawWarning(QPainter& painter, const QRectF& box) {
    QPainterPath triangle;
    triangle.moveTo(box.center().x(), box.top() + 1);
    triangle.lineTo(box.right() - 1, box.bottom() - 2);
    triangle.lineTo(box.left() + 1, box.bottom() - 2);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
    painter.setBrush(QColor(0xFF, 0xD8, 0x00));
    painter.drawPath(triangle);
    DrawSymbol(painter, box.adjusted(0, 6, 0, 0), QStringLiteral("!"), Qt::black);
}

void DrawError(QPainter& painter, const QRectF& box) {
    DrawDisc(painter, box.adjusted(1, 1, -1, -1), QColor(0xE0, 0x20, 0x20), QColor(0x80, 0x00, 0x00));
    painter.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center();
    painter.drawLine(c + QPointF(-6.5, -6.5), c + QPointF(6.5, 6.5));
    painter.drawLine(c + QPointF(-6.5, 6.5), c + QPointF(6.5, -6.5));
}

void DrawBlueDisc(QPainter& painter, const QRectF& box, const QString& symbol) {
    DrawDisc(painter, box.adjusted(1, 1, -1, -1), QColor(0x20, 0x60, 0xD0), QColor(0x00, 0x30, 0x80));
    DrawSymbol(painter, box, symbol, Qt::white);
}

}  // namespace

void DrawMessageIcon(QPainter& painter, const QRect& rect, TMsgDlgType type) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect);
    switch (type) {
        case mtWarning:
            DrawWarning(painter, box);
            break;
        case mtError:
            DrawError(painter, box);
            break;
        case mtInformation:
            DrawBlueDisc(painter, box, QStringLiteral("i"));
            break;
        case mtConfirmation:
            DrawBlueDisc(painter, box, QStringLiteral("?"));
            break;
        case mtCustom:
            break;
    }
    painter.restore();
}

}  // namespace contado
