#include "grid/pendingescape.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace contado {

TPendingEscape::TPendingEscape(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

TPendingEscape::~TPendingEscape() {
    QCoreApplication::instance()->removeEventFilter(this);
    for (THeldEvent& held : held_) {
        if (held.Receiver != nullptr) {
            QCoreApplication::postEvent(held.Receiver, held.Event.release());
        }
    }
}

bool TPendingEscape::Pending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::KeyPress);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::KeyRelease);
    return escape_;
}

bool TPendingEscape::ForWindow(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    return window_ != nullptr && widget != nullptr && widget->window() == window_;
}

bool TPendingEscape::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) || !ForWindow(watched)) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->type() == QEvent::KeyPress && key->key() == Qt::Key_Escape) {
        escape_ = true;
    }
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

}  // namespace contado
