#pragma once

#include <string>

namespace contado {

// The stop functions of the driver libraries this process loaded, so that a thread other than the
// one doing the database work can end that work at once (the program does it when it is told to end).
class TDriverStop {
  public:
    // Remembers the stop and cut functions of a loaded library whose factory has this name.
    static void Remember(void* library, const std::string& factoryName);
    // Calls every remembered stop function. Safe from any thread, but the thread doing database
    // work must not go on using the drivers meanwhile.
    static void StopAll();
    // Calls every remembered cut function: the calls waiting on a server come back at once, and
    // their thread may go on. Safe from any thread, alongside that work.
    static void CutAll();
};

}  // namespace contado
