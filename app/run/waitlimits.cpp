#include "app/run/waitlimits.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "platform/services/registry.h"

namespace contado {

namespace {

constexpr const char* kRegistryKey = "\\Software\\Ombrin\\TandrelERP2017";
constexpr int kLongestWait = 86400;

}  // namespace

int TWaitLimits::ConnectSeconds() {
    return Setting("EsperaConexion", kDefaultConnectSeconds);
}

int TWaitLimits::LockSeconds() {
    return Setting("EsperaBloqueo", kDefaultLockSeconds);
}

int TWaitLimits::AnswerSeconds() {
    return Setting("EsperaRespuesta", std::min(LockSeconds() + kAnswerBeyondLockSeconds, kLongestWait));
}

int TWaitLimits::Setting(const char* name, int fallback) {
    TRegistry registry;
    std::string text;
    try {
        if (!registry.OpenKeyReadOnly(kRegistryKey)) {
            return fallback;
        }
        text = registry.ReadString(name);
    } catch (const std::exception&) {
        return fallback;
    }
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    const bool whole = !text.empty() && result.ec == std::errc() && result.ptr == end;
    return whole && value >= 1 && value <= kLongestWait ? value : fallback;
}

}  // namespace contado
