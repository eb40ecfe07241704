#pragma once

namespace contado {

// Who decides that the process ends. The Firebird client installs SIGINT and SIGTERM handlers at its
// first attach; they call a handler that was there before and then, from a thread of their own, shut
// every attachment down and let the process go on. The program routes those signals itself, so the
// engine's shutdown on a signal is refused through the client's confirmation callback, and the
// program stops the engine when it chooses to.
class TFbShutdown {
  public:
    // Registers the refusal with the client library just loaded.
    static void KeepSignalsFromEngine(void* library);
    // Cancels every running statement, rolls back every transaction and closes every attachment of
    // the process; later calls into the client fail. Safe from any thread, and more than once.
    static void StopEngine();

  private:
    static int Confirm(int reason, int mask, void* argument);
};

}  // namespace contado
