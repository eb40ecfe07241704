#pragma once

#include <QProxyStyle>

class QStyleOptionButton;
class QStyleOptionComboBox;
class QWidget;

namespace contado {

// The standard controls' look with the metrics of the classic dialogs: 13-pixel check box
// indicators 4 pixels from their text, a dotted focus mark around a focused check box's text, "*"
// for each character of a password, and drop-down lists with a flat bevel: a square one-pixel
// frame, a white field and a flat button.
class TClassicStyle : public QProxyStyle {
    Q_OBJECT

  public:
    TClassicStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

    // Gives the style to a window and every control in it.
    static void ApplyTo(QWidget* window);

  private:
    static void DrawFlatComboBox(const QStyleOptionComboBox& option, QPainter* painter);
    void DrawCheckBoxFocus(const QStyleOptionButton& option, QPainter* painter, const QWidget* widget) const;
};

}  // namespace contado
