// Draws the program's icon into a hicolor icon theme folder: a ledger page with ruled lines and a
// tick, and a gold coin in front of it, on a rounded blue tile. Drawn once as vectors at every size
// (16 to 256 pixels), so the small sizes stay sharp. Built and run by scripts/draw-app-icon.sh.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr const char* kIconName = "com.ombrin.Contado";
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Everything is drawn on a 256-unit square and scaled to the size.
QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);

    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0, QColor(0x1E, 0x5A, 0xA8));
    tile.setColorAt(1, QColor(0x10, 0x36, 0x70));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The ledger page with its ruled lines.
    painter.setBrush(QColor(0xFA, 0xFA, 0xF5));
    painter.setPen(QPen(QColor(0x0B, 0x25, 0x4F), 4));
    painter.drawRoundedRect(QRectF(52, 36, 132, 176), 10, 10);
    painter.setPen(QPen(QColor(0x7A, 0x96, 0xC0), 8, Qt::SolidLine, Qt::RoundCap));
    for (int y = 76; y <= 172; y += 32) {
        painter.drawLine(QPointF(74, y), QPointF(162, y));
    }
    // The tick of a posted day.
    painter.setPen(QPen(QColor(0x1E, 0x9E, 0x4A), 16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(80, 120);
    tick.lineTo(106, 146);
    tick.lineTo(150, 92);
    painter.drawPath(tick);

    // The coin, overlapping the page's lower right corner.
    QRadialGradient coin(QPointF(176, 172), 64, QPointF(160, 156));
    coin.setColorAt(0, QColor(0xFF, 0xE4, 0x7A));
    coin.setColorAt(1, QColor(0xD9, 0x9A, 0x12));
    painter.setBrush(coin);
    painter.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 6));
    painter.drawEllipse(QPointF(184, 180), 50, 50);
    painter.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 12, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(184, 150), QPointF(184, 210));
    painter.drawArc(QRectF(164, 156, 40, 26), 30 * 16, 240 * 16);
    painter.drawArc(QRectF(164, 178, 40, 26), 210 * 16, 240 * 16);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawappicon HICOLOR_FOLDER\n");
        return 2;
    }
    for (const int size : kSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) || !Icon(size).save(folder + u'/' + QLatin1String(kIconName) + ".png")) {
            std::fprintf(stderr, "drawappicon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
