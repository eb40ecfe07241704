#include "platform/fbdriver/fbshutdown.h"

#include <dlfcn.h>
#include <ibase.h>

#include <atomic>
#include <mutex>

namespace contado {

namespace {

using TShutdownCallbackFunc = ISC_STATUS (*)(ISC_STATUS*, FB_SHUTDOWN_CALLBACK, const int, void*);
using TShutdownFunc = int (*)(unsigned int, const int);

// How long the engine may take to end the attachments' work when stopped.
constexpr unsigned kStopTimeoutMs = 3000;

std::atomic<TShutdownFunc> loadedShutdown{nullptr};

std::mutex& StopMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

void TFbShutdown::KeepSignalsFromEngine(void* library) {
    auto registerCallback = reinterpret_cast<TShutdownCallbackFunc>(dlsym(library, "fb_shutdown_callback"));
    auto shutdown = reinterpret_cast<TShutdownFunc>(dlsym(library, "fb_shutdown"));
    if (registerCallback == nullptr || shutdown == nullptr) {
        return;
    }
    ISC_STATUS_ARRAY status{};
    registerCallback(status, &TFbShutdown::Confirm, fb_shut_confirmation, nullptr);
    loadedShutdown = shutdown;
}

// Any answer but 0 refuses the shutdown; only the one the client starts on a signal is refused.
int TFbShutdown::Confirm(int reason, int /*mask*/, void* /*argument*/) {
    return reason == fb_shutrsn_signal ? 1 : 0;
}

void TFbShutdown::StopEngine() {
    const std::lock_guard lock(StopMutex());
    if (const TShutdownFunc shutdown = loadedShutdown.exchange(nullptr)) {
        shutdown(kStopTimeoutMs, fb_shutrsn_app_stopped);
    }
}

}  // namespace contado
