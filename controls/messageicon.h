#pragma once

#include <QRect>

#include "platform/services/msgdlg.h"

class QPainter;

namespace contado {

// The 32 x 32 icons of the message boxes, drawn with fixed shapes and colours: a yellow triangle
// with "!" (warning), a red disc with a white cross (error), a blue disc with "i" (information)
// and with "?" (confirmation). A plain box has none.
void DrawMessageIcon(QPainter& painter, const QRect& rect, TMsgDlgType type);

}  // namespace contado
