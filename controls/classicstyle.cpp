#include "controls/classicstyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include "platform/system/systemcolors.h"

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

void TClassicStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_CheckBox || button == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The dotted mark replaces the base style's own focus frame.
    QStyleOptionButton unfocused = *button;
    unfocused.state &= ~State_HasFocus;
    QProxyStyle::drawControl(element, &unfocused, painter, widget);
    if (button->state & State_HasFocus) {
        DrawCheckBoxFocus(*button, painter, widget);
    }
}

void TClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control == CC_ComboBox && combo != nullptr && !combo->editable) {
        DrawFlatComboBox(*combo, painter);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

// The frame in the shadow colour, the field white, and at the right a button as wide as a scroll
// bar with a small black arrow; the chosen entry is drawn over it by the list's label.
void TClassicStyle::DrawFlatComboBox(const QStyleOptionComboBox& option, QPainter* painter) {
    constexpr int kButtonWidth = 17;
    const QRect frame = option.rect;
    painter->save();
    painter->fillRect(frame, clWindow);
    painter->setPen(clBtnShadow);
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect button(frame.right() - kButtonWidth, frame.top() + 1, kButtonWidth, frame.height() - 2);
    painter->fillRect(button, clBtnFace);
    const QPoint centre = button.center() + QPoint(1, 1);
    const QColor arrow = (option.state & State_Enabled) ? clWindowText : clBtnShadow;
    for (int row = 0; row < 4; ++row) {
        painter->fillRect(centre.x() - 3 + row, centre.y() - 2 + row, 7 - 2 * row, 1, arrow);
    }
    painter->restore();
}

// A dotted rectangle one pixel around the caption, as the classic dialogs mark the focus.
void TClassicStyle::DrawCheckBoxFocus(const QStyleOptionButton& option, QPainter* painter,
                                      const QWidget* widget) const {
    const QRect text = subElementRect(SE_CheckBoxContents, &option, widget);
    const QRect caption = option.fontMetrics.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter, option.text);
    const QRect mark = caption.adjusted(-1, -1, 1, 1).intersected(option.rect);
    painter->save();
    QPen pen(clWindowText);
    pen.setDashPattern({1, 1});
    painter->setPen(pen);
    painter->drawRect(mark.adjusted(0, 0, -1, -1));
    painter->restore();
}

void TClassicStyle::ApplyTo(QWidget* window) {
    static TClassicStyle* const style = new TClassicStyle;
    window->setStyle(style);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->setStyle(style);
    }
}

}  // namespace contado
