// Draws the two pictures of the main window's buttons into resources/: a red cross for
// "Esc: Cancelar" and two green arrows turning in a circle for "F2: Ejecutar". 46 x 32 pixels,
// 24-bit colour; the bottom-left pixel holds the background colour, which the buttons leave out.
// Each also as NAME@2x.png, 92 x 64, the same drawing at twice the scale, for screens of device
// pixel ratio 2. Built and run by scripts/draw-button-pictures.sh.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>

namespace {

const QColor kBackground(0xF0, 0xF0, 0xF0);
constexpr int kWidth = 46;
constexpr int kHeight = 32;

QImage BlankPicture(int scale) {
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_RGB888);
    image.fill(kBackground);
    return image;
}

void OutlinedFill(QPainter& painter, const QPainterPath& path, const QColor& fill, const QColor& outline) {
    painter.setPen(QPen(outline, 1.2));
    painter.setBrush(fill);
    painter.drawPath(path);
}

QImage RedCross(int scale) {
    QImage image = BlankPicture(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    QPainterPath bar;
    bar.addRoundedRect(QRectF(-13, -3.2, 26, 6.4), 1.5, 1.5);
    QPainterPath cross = QTransform().rotate(45).map(bar).united(QTransform().rotate(-45).map(bar));
    cross = QTransform::fromTranslate(23, 16).map(cross);
    OutlinedFill(painter, cross, QColor(0xE0, 0x20, 0x20), QColor(0x80, 0x00, 0x00));
    return image;
}

// One arrow along the circle from startDegrees, sweeping spanDegrees, with its head at the end.
QPainterPath TurningArrow(QPointF centre, double radius, double startDegrees, double spanDegrees) {
    constexpr double kHalfThickness = 2.4;
    const QRectF outer(centre.x() - radius - kHalfThickness, centre.y() - radius - kHalfThickness,
                       2 * (radius + kHalfThickness), 2 * (radius + kHalfThickness));
    const QRectF inner =
        outer.adjusted(2 * kHalfThickness, 2 * kHalfThickness, -2 * kHalfThickness, -2 * kHalfThickness);
    QPainterPath path;
    path.arcMoveTo(outer, startDegrees);
    path.arcTo(outer, startDegrees, spanDegrees);
    path.arcTo(inner, startDegrees + spanDegrees, -spanDegrees);
    path.closeSubpath();

    const double end = (startDegrees + spanDegrees) * M_PI / 180.0;
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    const QPointF along(std::sin(end), std::cos(end));  // direction of travel, clockwise
    const QPointF across(std::cos(end), -std::sin(end));
    QPainterPath head;
    head.moveTo(tip + along * 5.5);
    head.lineTo(tip + across * 5.5);
    head.lineTo(tip - across * 5.5);
    head.closeSubpath();
    return path.united(head);
}

QImage GreenArrows(int scale) {
    QImage image = BlankPicture(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    const QPointF centre(23, 16);
    const QColor fill(0x20, 0xB0, 0x30);
    const QColor outline(0x00, 0x60, 0x10);
    OutlinedFill(painter, TurningArrow(centre, 10, 160, -130), fill, outline);
    OutlinedFill(painter, TurningArrow(centre, 10, -20, -130), fill, outline);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    bool saved = true;
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
        saved = RedCross(scale).save(folder + QStringLiteral("/cancelar") + suffix) && saved;
        saved = GreenArrows(scale).save(folder + QStringLiteral("/ejecutar") + suffix) && saved;
    }
    return saved ? 0 : 1;
}
