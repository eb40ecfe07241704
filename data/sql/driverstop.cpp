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

std::vector<TStopDriverFunc>& CutFunctions() {
    static std::vector<TStopDriverFunc> functions;
    return functions;
}

// "getSQLDriverXXX" gives "stopSQLDriverXXX" or "cutSQLDriverXXX"; a factory named otherwise has
// neither.
std::string FunctionName(const std::string& factoryName, const std::string& verb) {
    return factoryName.starts_with("get") ? verb + factoryName.substr(3) : std::string();
}

void RememberFunction(void* library, const std::string& name, std::vector<TStopDriverFunc>& functions) {
    auto function = name.empty() ? nullptr : reinterpret_cast<TStopDriverFunc>(dlsym(library, name.c_str()));
    if (function != nullptr && std::find(functions.begin(), functions.end(), function) == functions.end()) {
        functions.push_back(function);
    }
}

void CallAll(const std::vector<TStopDriverFunc>& remembered) {
    std::vector<TStopDriverFunc> functions;
    {
        const std::lock_guard lock(StopMutex());
        functions = remembered;
    }
    for (TStopDriverFunc function : functions) {
        function();
    }
}

}  // namespace

void TDriverStop::Remember(void* library, const std::string& factoryName) {
    const std::lock_guard lock(StopMutex());
    RememberFunction(library, FunctionName(factoryName, "stop"), StopFunctions());
    RememberFunction(library, FunctionName(factoryName, "cut"), CutFunctions());
}

// The libraries are never unloaded, so a remembered function stays callable.
void TDriverStop::StopAll() {
    CallAll(StopFunctions());
}

void TDriverStop::CutAll() {
    CallAll(CutFunctions());
}

}  // namespace contado
