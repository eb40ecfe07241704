#include "controls/panel.h"

#include <QAccessible>
#include <QPainter>

#include "platform/system/frame3d.h"
#include "platform/system/systemcolors.h"

namespace contado {

namespace {

void DrawBevel(QPainter& painter, QRect& rect, TBevelCut cut, int width) {
    if (cut == bvRaised) {
        Frame3D(painter, rect, clBtnHighlight, clBtnShadow, width);
    } else if (cut == bvLowered) {
        Frame3D(painter, rect, clBtnShadow, clBtnHighlight, width);
    }
}

}  // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent), color_(clBtnFace) {}

void TPanel::SetBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    update();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    update();
}

// A reader that holds the caption as the panel's name is told of the new one.
void TPanel::SetCaption(const QString& caption) {
    const bool renamed = caption != caption_;
    caption_ = caption;
    update();
    if (renamed) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TPanel::SetColor(const QColor& color) {
    color_ = color;
    update();
}

QRect TPanel::InnerRect() const {
    const int inset = ((bevelOuter_ != bvNone) + (bevelInner_ != bvNone)) * bevelWidth_;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    QRect inner = rect();
    DrawBevel(painter, inner, bevelOuter_, bevelWidth_);
    DrawBevel(painter, inner, bevelInner_, bevelWidth_);
    if (!caption_.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(inner, Qt::AlignCenter | Qt::TextSingleLine, caption_);
    }
}

}  // namespace contado
