#include "platform/system/resourcebitmap.h"

#include <QGuiApplication>
#include <QtGlobal>

// The pictures live in a static library; registering them explicitly keeps the linker from
// dropping them.
static void RegisterResources() {
    Q_INIT_RESOURCE(resources);
}

namespace contado {

namespace {

void EnsureRegistered() {
    static const bool registered = (RegisterResources(), true);
    Q_UNUSED(registered);
}

// "ejecutar.png" -> "ejecutar@2x.png", "DBN_NEXT" -> "DBN_NEXT@2x".
QString DoubleSizeName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name + QStringLiteral("@2x") : name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

}  // namespace

QImage LoadResourceBitmap(const QString& name, qreal devicePixelRatio) {
    EnsureRegistered();
    if (devicePixelRatio > 1.0) {
        QImage doubled(QStringLiteral(":/") + DoubleSizeName(name));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return QImage(QStringLiteral(":/") + name);
}

QImage LoadResourceBitmap(const QString& name) {
    const qreal ratio = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                            ? qGuiApp->devicePixelRatio()
                            : 1.0;
    return LoadResourceBitmap(name, ratio);
}

QIcon ApplicationIcon() {
    EnsureRegistered();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/com.ombrin.Contado-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace contado
