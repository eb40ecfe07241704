#pragma once

#include <string>

#include "app/run/exitstatus.h"

namespace contado {

class TCommandLine;

// What both programs do as they start: the one that runs without a window and the window's.

// Blanks the password in the process's own argument area, which is what other users read in `ps`:
// every argument that may be it, so an empty argument before it cannot leave it readable.
void HidePassword(const TCommandLine& commandLine, int argc, char** argv);

// Started from cron or ssh there is no display, where the toolkit would abort: the program then
// runs on the minimal platform, where an unattended run needs none.
void ChoosePlatformWithoutDisplay();
// The toolkit platform the window would run on, as QT_QPA_PLATFORM names it; empty when the toolkit
// chooses it.
std::string ChosenPlatform();
// The "offscreen" and "minimal" platforms, with or without options after ":": nobody sees them.
bool PlatformWithoutDisplay(const std::string& platform);
// A window nobody can see would wait for ever for a clerk: says so and answers the failed status.
TExitStatus RefuseWindowWithoutDisplay(const std::string& platform);

// Ends the process at once with the signal's status. The run report is flushed; nothing is torn
// down, so no destructor or exit handler of the database client can run while the guard's stop is
// still inside the client.
[[noreturn]] void EndNow();

}  // namespace contado
