#pragma once

#include <QImage>
#include <QString>

namespace contado {

// A picture built into the program (resources/), by its file name; a null image when there is none.
QImage LoadResourceBitmap(const QString& name);

}  // namespace contado
