#include "controls/speedbutton.h"

#include <QBitmap>
#include <QPainter>

#include "platform/system/frame3d.h"
#include "platform/system/systemcolors.h"

namespace contado {

TSpeedButton::TSpeedButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TSpeedButton::SetGlyph(const QImage& glyph) {
    if (glyph.isNull()) {
        glyph_ = QPixmap();
        shape_ = QBitmap();
    } else {
        const QColor background = glyph.pixelColor(0, glyph.height() - 1);
        shape_ = QBitmap::fromImage(glyph.createMaskFromColor(background.rgb(), Qt::MaskInColor));
        shape_.setDevicePixelRatio(glyph.devicePixelRatio());
        glyph_ = QPixmap::fromImage(glyph);
        glyph_.setDevicePixelRatio(glyph.devicePixelRatio());
        glyph_.setMask(shape_);
    }
    update();
}

int TSpeedButton::CaptionHeight() const {
    return text().isEmpty() ? 0 : fontMetrics().height();
}

QRect TSpeedButton::GlyphRect() const {
    // In the widget's pixels: a @2x picture has twice as many device pixels.
    const QSize size = glyph_.isNull() ? QSize(0, 0) : glyph_.deviceIndependentSize().toSize();
    const int top = (height() - size.height() - CaptionHeight()) / 2;
    return QRect(QPoint((width() - size.width()) / 2, top), size);
}

QRect TSpeedButton::CaptionRect() const {
    return QRect(0, GlyphRect().top() + GlyphRect().height(), width(), CaptionHeight());
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), clBtnFace);
    DrawFrame(painter);
    const QPoint offset = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    DrawGlyph(painter, offset);
    DrawCaption(painter, offset);
}

void TSpeedButton::DrawFrame(QPainter& painter) {
    QRect edge = rect();
    if (isEnabled() && isDown()) {
        Frame3D(painter, edge, clBtnShadow, clBtnHighlight, 1);
    } else if (isEnabled() && hovered_) {
        Frame3D(painter, edge, clBtnHighlight, clBtnShadow, 1);
    }
}

void TSpeedButton::DrawGlyph(QPainter& painter, QPoint offset) {
    if (glyph_.isNull()) {
        return;
    }
    const QPoint origin = GlyphRect().topLeft() + offset;
    if (isEnabled()) {
        painter.drawPixmap(origin, glyph_);
        return;
    }
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(clBtnHighlight);
    painter.drawPixmap(origin + QPoint(1, 1), shape_);
    painter.setPen(clBtnShadow);
    painter.drawPixmap(origin, shape_);
}

void TSpeedButton::DrawCaption(QPainter& painter, QPoint offset) {
    const QRect box = CaptionRect().translated(offset);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (!isEnabled()) {
        painter.setPen(clBtnHighlight);
        painter.drawText(box.translated(1, 1), flags, text());
        painter.setPen(clBtnShadow);
    } else {
        painter.setPen(clWindowText);
    }
    painter.drawText(box, flags, text());
}

void TSpeedButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TSpeedButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace contado
