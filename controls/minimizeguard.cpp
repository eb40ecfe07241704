#include "controls/minimizeguard.h"

#include <QEvent>
#include <QWidget>

namespace contado {

TMinimizeGuard::TMinimizeGuard(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
}

// The state is put back once the window manager's change has been taken in, not inside it.
bool TMinimizeGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowStateChange && window_->isMinimized()) {
        QMetaObject::invokeMethod(
            window_, [window = window_] { window->setWindowState(window->windowState() & ~Qt::WindowMinimized); },
            Qt::QueuedConnection);
    }
    return false;
}

}  // namespace contado
