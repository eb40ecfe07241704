#include "controls/captionpanel.h"

#include <QAccessible>
#include <QChildEvent>
#include <QPainter>
#include <QPixmap>
#include <QtMath>

#include "controls/align.h"
#include "platform/system/frame3d.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kCaptionIndent = 0;
constexpr int kCaptionTopIndent = 0;
constexpr int kTextOffset = 1;

QWidgetList ChildrenAligned(const QWidget& parent, TAlign align) {
    QWidgetList found;
    for (QObject* child : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow() && AlignOf(widget) == align) {
            found.append(widget);
        }
    }
    return found;
}

}  // namespace

TCaptionPanel::TCaptionPanel(QWidget* parent)
    : QWidget(parent),
      color_(clBtnFace),
      captionColor_(clHighlight),
      captionFont_(MsSansSerifFont(11)),
      captionTextColor_(clHighlightText) {}

// A reader that holds the caption as the panel's name is told of the new one.
void TCaptionPanel::SetCaption(const QString& caption) {
    const bool renamed = caption != caption_;
    caption_ = caption;
    update();
    if (renamed) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TCaptionPanel::SetCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
}

void TCaptionPanel::SetCaptionFont(const QFont& font, const QColor& textColor) {
    captionFont_ = font;
    captionTextColor_ = textColor;
    update();
}

QRect TCaptionPanel::CaptionRect() const {
    const int top = kBevelWidth;
    const int bottom = top + kCaptionHeight - 2 * kBevelWidth;
    return QRect(QPoint(kBevelWidth, top), QPoint(width() - 1 - kBevelWidth, bottom - 1));
}

// The space under the bar starts at Height - 2, and the bevel takes its pixel on every side.
QRect TCaptionPanel::ChildArea() const {
    QRect area = rect();
    if (area.top() < kCaptionHeight) {
        area.setTop(kCaptionHeight - 2);
    }
    return area.adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
}

bool TCaptionPanel::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::ChildAdded ||
        event->type() == QEvent::ChildRemoved) {
        AlignChildren();
    }
    return result;
}

void TCaptionPanel::resizeEvent(QResizeEvent* event) {
    AlignChildren();
    QWidget::resizeEvent(event);
}

// Top children first, then bottom ones, each in creation order; the client child takes the rest.
void TCaptionPanel::AlignChildren() {
    QRect area = ChildArea();
    for (QWidget* child : ChildrenAligned(*this, alTop)) {
        child->setGeometry(area.left(), area.top(), area.width(), child->height());
        area.setTop(area.top() + child->height());
    }
    for (QWidget* child : ChildrenAligned(*this, alBottom)) {
        child->setGeometry(area.left(), area.bottom() + 1 - child->height(), area.width(), child->height());
        area.setBottom(area.bottom() - child->height());
    }
    for (QWidget* child : ChildrenAligned(*this, alClient)) {
        child->setGeometry(area.left(), area.top(), area.width(), std::max(0, area.height()));
    }
}

// The off-screen image has the screen's device pixels, so the caption's text is as sharp as text
// painted straight onto the widget.
void TCaptionPanel::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    QPixmap image(QSize(qCeil(width() * ratio), qCeil(height() * ratio)));
    image.setDevicePixelRatio(ratio);
    {
        QPainter offScreen(&image);
        PaintPanel(offScreen);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, image);
}

void TCaptionPanel::PaintPanel(QPainter& painter) const {
    painter.fillRect(rect(), color_);
    QRect inner = rect();
    Frame3D(painter, inner, clBtnHighlight, clBtnShadow, kBevelWidth);
    const QRect bar = CaptionRect();
    painter.fillRect(bar, captionColor_);
    const QRect textBox(QPoint(bar.left() + kCaptionIndent, bar.top() + kCaptionTopIndent),
                        QPoint(bar.right(), kBevelWidth + kCaptionHeight - 1));
    painter.setFont(captionFont_);
    painter.setPen(captionTextColor_);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(textBox.adjusted(kTextOffset, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
}

}  // namespace contado
