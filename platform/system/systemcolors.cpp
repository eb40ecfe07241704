#include "platform/system/systemcolors.h"

namespace contado {

QPalette ClassicPalette() {
    QPalette palette(clWindowText, clBtnFace, clBtnHighlight, clBtnShadow, clBtnShadow, clWindowText,
                     clBtnHighlight, clWindow, clBtnFace);
    palette.setColor(QPalette::Shadow, cl3DDkShadow);
    palette.setColor(QPalette::Highlight, clHighlight);
    palette.setColor(QPalette::HighlightedText, clHighlightText);
    palette.setColor(QPalette::ButtonText, clWindowText);
    palette.setColor(QPalette::Disabled, QPalette::Text, clBtnShadow);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, clBtnShadow);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, clBtnShadow);
    return palette;
}

}  // namespace contado
