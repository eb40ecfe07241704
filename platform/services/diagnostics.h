#pragma once

#include <string>

namespace contado {

// How much a line on standard error matters, as the system log ranks it.
enum TDiagnosticLevel { dlError = 3, dlWarning = 4, dlInformation = 6 };

// Writes one line to standard error in a single write, so lines of processes sharing the stream
// never interleave. When standard error is the system journal (JOURNAL_STREAM names it), the line
// starts with its level as "<3>", "<4>" or "<6>", so a failed run can be found by its priority.
void WriteDiagnostic(TDiagnosticLevel level, const std::string& line);

// Whether standard error is the stream JOURNAL_STREAM ("device:inode") names.
bool StandardErrorIsJournal();

}  // namespace contado
