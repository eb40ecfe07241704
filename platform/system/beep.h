#pragma once

#include <functional>

namespace contado {

// The default beep of the system.
void Beep();

// Tests observe beeps through a hook that replaces the sound; an empty hook restores it.
void SetBeepHook(std::function<void()> hook);

}  // namespace contado
