#pragma once

#include <QColor>
#include <QPalette>

namespace contado {

// The system colours the program paints with. Fixed values, so painting never depends on the
// desktop theme of the machine it runs on.
inline const QColor clBtnFace{0xF0, 0xF0, 0xF0};
inline const QColor clBtnHighlight{0xFF, 0xFF, 0xFF};
inline const QColor clBtnShadow{0xA0, 0xA0, 0xA0};
inline const QColor clHighlight{0x00, 0x78, 0xD7};
inline const QColor clHighlightText{0xFF, 0xFF, 0xFF};
inline const QColor clWindow{0xFF, 0xFF, 0xFF};
inline const QColor clWindowText{0x00, 0x00, 0x00};
inline const QColor cl3DDkShadow{0x69, 0x69, 0x69};
inline const QColor clNavy{0x00, 0x00, 0x80};

constexpr int kScrollBarThickness = 17;
constexpr int kSunkenClientEdge = 2;

// A palette of the colours above, for the standard widgets of a window.
QPalette ClassicPalette();

}  // namespace contado
