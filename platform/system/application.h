#pragma once

#include <QApplication>

namespace contado {

// The application object. Every event the toolkit delivers, to any widget or object (keys, mouse,
// wheel, scroll bars, timers, queued calls, popups, paint), goes through notify(), which runs it
// as an event handler: an error that leaves it is shown in the default error box and the silent
// abort ends it without a box, so no error ever unwinds into the toolkit's event loop.
class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace contado
