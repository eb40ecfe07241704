#pragma once

#include <QFont>

namespace contado {

// Stand-ins for the fonts of the original platform: "MS Sans Serif" at a pixel height becomes
// DejaVu Sans at that pixel size, in its condensed width, whose characters are as wide as the
// original's, so texts fill the boxes the layout gives them; "Arial Narrow" becomes Liberation Sans
// Narrow. Pixel sizes keep the layout independent of the screen's dots per inch.
QFont MsSansSerifFont(int pixelSize);
QFont ArialNarrowFont(int pixelSize);

}  // namespace contado
