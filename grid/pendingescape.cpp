#include "grid/pendingescape.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>

namespace contado {

namespace {

bool IsKey(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease;
}

// A key goes to whatever has the focus when it is given back, as the window system would have
// delivered it then: the keys before it may have moved the focus (a character opening a cell's
// editor). Each waits for the ones before it to have acted.
void GiveBackKey(std::shared_ptr<QEvent> key) {
    QMetaObject::invokeMethod(
        qApp,
        [key] {
            if (QWidget* focus = QApplication::focusWidget()) {
                QCoreApplication::sendEvent(focus, key.get());
            }
        },
        Qt::QueuedConnection);
}

bool IsDropped(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::InputMethod:
        case QEvent::ShortcutOverride:
        case QEvent::Close:
        case QEvent::Paint:
            return true;
        default:
            return false;
    }
}

}  // namespace

TPendingEscape::TPendingEscape(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
    sinceLastLook_.start();
}

TPendingEscape::~TPendingEscape() {
    QCoreApplication::instance()->removeEventFilter(this);
    for (THeldEvent& held : held_) {
        if (IsKey(held.Event->type())) {
            GiveBackKey(std::shared_ptr<QEvent>(held.Event.release()));
        } else if (held.Receiver != nullptr) {
            QCoreApplication::postEvent(held.Receiver, held.Event.release());
        }
    }
    if (dropped_) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            top->update();
        }
    }
}

bool TPendingEscape::Pending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::KeyPress);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::KeyRelease);
    if (!escape_ && sinceLastLook_.elapsed() >= kSystemQueueInterval) {
        LookAtSystemQueue();
    }
    return escape_;
}

// The window system's events become the toolkit's here; the filter keeps every one of them from
// acting, and timers and sockets wait.
void TPendingEscape::LookAtSystemQueue() {
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
    sinceLastLook_.restart();
}

bool TPendingEscape::ForWindow(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    return window_ != nullptr && widget != nullptr && widget->window() == window_;
}

bool TPendingEscape::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!watched->isWidgetType()) {
        return false;
    }
    if (IsDropped(type)) {
        // A refused close request leaves the window open; the clerk closes it again afterwards.
        event->ignore();
        dropped_ = true;
        return true;
    }
    if (!IsKey(type) && type != QEvent::Resize) {
        return false;
    }
    if (type == QEvent::KeyPress && ForWindow(watched) && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        escape_ = true;
    }
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

}  // namespace contado
