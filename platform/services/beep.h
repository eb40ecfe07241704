#pragma once

#include <functional>

namespace contado {

// The default beep of the system.
void Beep();

// Tests observe beeps through a hook that replaces the sound; an empty hook restores it.
void SetBeepHook(std::function<void()> hook);
// The sound itself, given by the toolkit that has one; without it a beep is silent.
void SetBeepSound(std::function<void()> sound);

}  // namespace contado
