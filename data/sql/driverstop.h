#pragma once

#include <string>

namespace contado {

// The stop functions of the driver libraries this process loaded, so that a thread other than the
// one doing the database work can end that work at once (the program does it when it is told to end).
class TDriverStop {
  public:
    // Remembers the stop function of a loaded library whose factory has this name, if it has one.
    static void Remember(void* library, const std::string& factoryName);
    // Calls every remembered stop function. Safe from any thread.
    static void StopAll();
};

}  // namespace contado
