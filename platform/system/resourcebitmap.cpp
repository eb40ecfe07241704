#include "platform/system/resourcebitmap.h"

#include <QtGlobal>

// The pictures live in a static library; registering them explicitly keeps the linker from
// dropping them.
static void RegisterResources() {
    Q_INIT_RESOURCE(resources);
}

namespace contado {

QImage LoadResourceBitmap(const QString& name) {
    static const bool registered = (RegisterResources(), true);
    Q_UNUSED(registered);
    return QImage(QStringLiteral(":/") + name);
}

}  // namespace contado
