#pragma once

#include <QObject>

class QSocketNotifier;

namespace contado {

// SIGTERM, SIGINT and SIGHUP, turned into an event of the event loop. The handlers only write the
// signal's number into two pipes: one read here on the user-interface thread, the other by a guard
// thread that keeps the end prompt when that thread is busy inside a database call: after a moment it
// cuts the calls waiting on a server, so that thread comes back and ends the program, and a little
// later it ends the process itself with 128 + the signal's number.
class TTerminationSignals : public QObject {
    Q_OBJECT

  public:
    // Installs the handlers and starts the guard; before the database client is first used, so that
    // the client's own handlers, installed at its first attach, keep calling these.
    static void Install();
    // The first of the three signals received, 0 before any.
    static int FirstSignal();

    explicit TTerminationSignals(QObject* parent = nullptr);

  signals:
    // Emitted on the user-interface thread for every signal received.
    void Received(int signalNumber);

  private:
    void ReadSignal();
    static void Handle(int signalNumber);
    static void Guard();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace contado
