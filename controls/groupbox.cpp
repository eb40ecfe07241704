#include "controls/groupbox.h"

#include <QPainter>

#include "platform/system/systemcolors.h"

namespace contado {

namespace {
constexpr int kCaptionLeft = 8;
}  // namespace

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), clBtnFace);
    const int frameTop = fontMetrics().height() / 2 - 1;
    const QRect frame(0, frameTop, width() - 2, height() - frameTop - 2);
    painter.setPen(clBtnHighlight);
    painter.drawRect(frame.translated(1, 1));
    painter.setPen(clBtnShadow);
    painter.drawRect(frame);

    const QRect captionRect(kCaptionLeft, 0, fontMetrics().horizontalAdvance(caption_),
                            fontMetrics().height());
    painter.fillRect(captionRect, clBtnFace);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
}

}  // namespace contado
