#include "controls/align.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace contado {

namespace {

constexpr const char* kAlignProperty = "contadoAlign";

}  // namespace

void SetAlign(QWidget* widget, TAlign align) {
    widget->setProperty(kAlignProperty, static_cast<int>(align));
    if (QWidget* parent = widget->parentWidget()) {
        QEvent request(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(parent, &request);
    }
}

TAlign AlignOf(const QWidget* widget) {
    const QVariant align = widget->property(kAlignProperty);
    return align.isValid() ? static_cast<TAlign>(align.toInt()) : alNone;
}

}  // namespace contado
