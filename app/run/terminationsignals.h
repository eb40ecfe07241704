#pragma once

namespace contado {

// SIGTERM, SIGINT and SIGHUP. The handlers only write the signal's number into two pipes: one read
// by whoever waits for events (the window's event loop), the other by a guard thread that keeps the
// end prompt when the working thread is busy inside a database call: after a moment it cuts the
// calls waiting on a server, so that thread comes back and ends the program, and a little later it
// ends the process itself with 128 + the signal's number.
class TTerminationSignals {
  public:
    // Installs the handlers and starts the guard; before the database client is first used, so that
    // the client's own handlers, installed at its first attach, keep calling these.
    static void Install();
    // The first of the three signals received, 0 before any.
    static int FirstSignal();
    // The end of the event pipe to watch for reading; -1 when the handlers are not installed.
    static int EventDescriptor();
    // The next signal waiting in the event pipe, 0 when none is.
    static int NextSignal();

  private:
    static void Handle(int signalNumber);
    static void Guard();
};

}  // namespace contado
