#include "controls/classicstyle.h"

#include <QStyleFactory>
#include <QWidget>

namespace contado {

TClassicStyle::TClassicStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int TClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TClassicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) {
        return '*';
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void TClassicStyle::ApplyTo(QWidget* window) {
    static TClassicStyle* const style = new TClassicStyle;
    window->setStyle(style);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->setStyle(style);
    }
}

}  // namespace contado
