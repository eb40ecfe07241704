#pragma once

#include <QProxyStyle>

class QWidget;

namespace contado {

// The standard controls' look with the metrics of the classic dialogs: 13-pixel check box
// indicators 4 pixels from their text, and "*" for each character of a password.
class TClassicStyle : public QProxyStyle {
    Q_OBJECT

  public:
    TClassicStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

    // Gives the style to a window and every control in it.
    static void ApplyTo(QWidget* window);
};

}  // namespace contado
