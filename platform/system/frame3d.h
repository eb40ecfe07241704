#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace contado {

// Draws a bevel of the given width inside rect: top row and left column in topColor, bottom row
// and right column in bottomColor (the top-right and bottom-left corner pixels belong to the
// bottom colour). Shrinks rect by the width on every side, ready for an inner bevel.
void Frame3D(QPainter& painter, QRect& rect, const QColor& topColor, const QColor& bottomColor, int width);

}  // namespace contado
