#pragma once

class QWidget;

namespace contado {

// Where an aligning parent (the caption panel) places a child: along its top or bottom edge at the
// child's own height, or over the whole space the aligned edges leave.
enum TAlign { alNone, alTop, alBottom, alClient };

// The alignment is kept with the child, so the child can read it too (a navigator bar aligned to an
// edge keeps any width); setting it asks the parent to align its children again.
void SetAlign(QWidget* widget, TAlign align);
TAlign AlignOf(const QWidget* widget);

}  // namespace contado
