#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace contado {

// A picture built into the program (resources/), by its file name, for a device pixel ratio: above
// 1, its NAME@2x counterpart (the same picture drawn at twice the size) carrying the ratio 2, so
// QPainter shows it at the 1x picture's size; at 1, or where there is no @2x, the 1x picture. A
// null image when there is none.
QImage LoadResourceBitmap(const QString& name, qreal devicePixelRatio);
// The same for the application's device pixel ratio (the highest of its screens; 1 before the
// application object exists), as Qt chooses @2x files.
QImage LoadResourceBitmap(const QString& name);

// The program's icon, every size of packaging/icons, for the windows' title bars and task lists.
QIcon ApplicationIcon();

}  // namespace contado
