#include "platform/services/beep.h"

namespace contado {

namespace {

std::function<void()>& BeepHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<void()>& BeepSound() {
    static std::function<void()> sound;
    return sound;
}

}  // namespace

void Beep() {
    if (BeepHook()) {
        BeepHook()();
        return;
    }
    if (BeepSound()) {
        BeepSound()();
    }
}

void SetBeepHook(std::function<void()> hook) {
    BeepHook() = std::move(hook);
}

void SetBeepSound(std::function<void()> sound) {
    BeepSound() = std::move(sound);
}

}  // namespace contado
