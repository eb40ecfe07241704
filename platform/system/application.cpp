#include "platform/system/application.h"

#include "platform/services/beep.h"
#include "platform/services/eventhandler.h"
#include "platform/services/messageboxservice.h"

namespace contado {

// The services learn from the toolkit whether a screen is there and how the system beeps.
TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    const QString platform = platformName();
    SetRunsWithoutDisplay(platform == u"offscreen" || platform == u"minimal");
    SetBeepSound([] { QApplication::beep(); });
}

// An event whose handler failed counts as handled: it goes to no parent and no other receiver.
bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = true;
    RunHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace contado
