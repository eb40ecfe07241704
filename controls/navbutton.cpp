#include "controls/navbutton.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/eventlooprepeattimer.h"
#include "platform/system/frame3d.h"
#include "platform/system/modality.h"
#include "platform/system/systemcolors.h"

namespace contado {

namespace {

// One half of the bitmap, its transparent colour made clear, at the bitmap's device pixel ratio.
QImage GlyphHalf(const QImage& bitmap, int half, QRgb transparent) {
    const int width = bitmap.width() / 2;
    QImage image =
        bitmap.copy(half * width, 0, width, bitmap.height()).convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(bitmap.devicePixelRatio());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & RGB_MASK) == (transparent & RGB_MASK)) {
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
    }
    return image;
}

}  // namespace

TNavButton::TNavButton(TNavigateBtn index, QWidget* parent)
    : QAbstractButton(parent), index_(index), timer_(std::make_unique<TEventLoopRepeatTimer>()) {
    setFocusPolicy(Qt::NoFocus);
    timer_->OnTimer = [this] { RepeatTick(); };
}

void TNavButton::SetGlyph(const QImage& bitmap) {
    if (bitmap.isNull() || bitmap.width() < 2) {
        enabledGlyph_ = disabledGlyph_ = QImage();
    } else {
        const QRgb transparent = bitmap.pixel(0, bitmap.height() - 1);
        enabledGlyph_ = GlyphHalf(bitmap, 0, transparent);
        disabledGlyph_ = GlyphHalf(bitmap, 1, transparent);
    }
    update();
}

QImage TNavButton::Glyph() const {
    return enabledGlyph_;
}

void TNavButton::SetRepeatTimer(std::unique_ptr<TRepeatTimer> timer) {
    timer_->Stop();
    timer_ = std::move(timer);
    timer_->OnTimer = [this] { RepeatTick(); };
}

void TNavButton::StopRepeat() {
    timer_->Stop();
}

void TNavButton::mousePressEvent(QMouseEvent* event) {
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isDown()) {
        holdsMouse_ = true;
        if (repeats_) {
            timer_->Start(kRepeatDelay);
        }
    }
}

void TNavButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        holdsMouse_ = false;
        StopRepeat();
    }
    QAbstractButton::mouseReleaseEvent(event);
}

// A disabled button or a window that lost the activation no longer holds the mouse.
void TNavButton::changeEvent(QEvent* event) {
    if ((event->type() == QEvent::EnabledChange && !isEnabled()) ||
        (event->type() == QEvent::ActivationChange && !isActiveWindow())) {
        holdsMouse_ = false;
        StopRepeat();
    }
    QAbstractButton::changeEvent(event);
}

void TNavButton::hideEvent(QHideEvent* event) {
    holdsMouse_ = false;
    StopRepeat();
    QAbstractButton::hideEvent(event);
}

// A box opened over the window takes the mouse from the button: its release never comes here, so
// the button lets go by itself rather than repeating behind the box.
void TNavButton::RepeatTick() {
    if (BlockedByModalWindow(this)) {
        LetGo();
        return;
    }
    timer_->SetInterval(kRepeatInterval);
    if (isDown() && holdsMouse_) {
        emit Repeated();
    }
}

void TNavButton::LetGo() {
    holdsMouse_ = false;
    StopRepeat();
    setDown(false);
}

void TNavButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFace(painter);
    const QImage& glyph = isEnabled() ? enabledGlyph_ : disabledGlyph_;
    if (glyph.isNull()) {
        return;
    }
    const QPoint pressed = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    // Centred by its size in the widget's pixels: a @2x glyph has twice as many device pixels.
    const QSize size = glyph.deviceIndependentSize().toSize();
    const QPoint origin((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawImage(origin + pressed, glyph);
}

// Raised: light outer top-left edge, dark outer and shadowed inner bottom-right edges; pressed, the
// reverse.
void TNavButton::DrawFace(QPainter& painter) const {
    painter.fillRect(rect(), clBtnFace);
    QRect edge = rect();
    if (isDown()) {
        Frame3D(painter, edge, cl3DDkShadow, clBtnHighlight, 1);
        Frame3D(painter, edge, clBtnShadow, clBtnFace, 1);
    } else {
        Frame3D(painter, edge, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(painter, edge, clBtnFace, clBtnShadow, 1);
    }
}

}  // namespace contado
