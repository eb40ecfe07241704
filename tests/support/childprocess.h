#pragma once

#include <string>
#include <vector>

namespace contado {

// What a finished program left: its exit status (-1 when it did not exit normally) and what it
// wrote to standard output and standard error.
struct TChildResult {
    int ExitCode = -1;
    std::string StandardOutput;
    std::string StandardError;
};

// Runs a program by its path with the test's environment and waits for it to end; one that runs
// for two minutes is killed and answers the exit status -1.
TChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace contado
