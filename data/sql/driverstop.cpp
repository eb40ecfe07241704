#include "data/sql/driverstop.h"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/sqldriver.h"

namespace contado {

namespace {

std::mutex& StopMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<TStopDriverFunc>& StopFunctions() {
    static std::vector<TStopDriverFunc> functions;
    return functions;
}

// "getSQLDriverXXX" gives "stopSQLDriverXXX"; a factory named otherwise has no stop function.
std::string StopFunctionName(const std::string& factoryName) {
    return factoryName.starts_with("get") ? "stop" + factoryName.substr(3) : std::string();
}

}  // namespace

void TDriverStop::Remember(void* library, const std::string& factoryName) {
    const std::string name = StopFunctionName(factoryName);
    auto stop = name.empty() ? nullptr : reinterpret_cast<TStopDriverFunc>(dlsym(library, name.c_str()));
    if (stop == nullptr) {
        return;
    }
    const std::lock_guard lock(StopMutex());
    std::vector<TStopDriverFunc>& functions = StopFunctions();
    if (std::find(functions.begin(), functions.end(), stop) == functions.end()) {
        functions.push_back(stop);
    }
}

// The libraries are never unloaded, so a remembered function stays callable.
void TDriverStop::StopAll() {
    std::vector<TStopDriverFunc> functions;
    {
        const std::lock_guard lock(StopMutex());
        functions = StopFunctions();
    }
    for (TStopDriverFunc stop : functions) {
        stop();
    }
}

}  // namespace contado
