#include "platform/system/beep.h"

#include <QApplication>

namespace contado {

namespace {

std::function<void()>& BeepHook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void Beep() {
    if (BeepHook()) {
        BeepHook()();
        return;
    }
    QApplication::beep();
}

void SetBeepHook(std::function<void()> hook) {
    BeepHook() = std::move(hook);
}

}  // namespace contado
