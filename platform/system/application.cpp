#include "platform/system/application.h"

#include "platform/system/eventhandler.h"

namespace contado {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

// An event whose handler failed counts as handled: it goes to no parent and no other receiver.
bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = true;
    RunHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace contado
