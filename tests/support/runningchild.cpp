#include "tests/support/runningchild.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace contado {

namespace {

// The test's environment with the given variables set.
std::vector<std::string> ChildEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool overridden = false;
        for (const auto& pair : overrides) {
            overridden = overridden || pair.first == name;
        }
        if (!overridden) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : overrides) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void ExecChild(char* const* argv, char* const* envp, int output,
                            const std::optional<TRunningChild::TUser>& user) {
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    if (user && (setgroups(0, nullptr) != 0 || setgid(user->Gid) != 0 || setuid(user->Uid) != 0)) {
        _exit(126);
    }
    execve(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

TRunningChild::TRunningChild(const std::string& program, const std::vector<std::string>& arguments,
                             const std::vector<std::pair<std::string, std::string>>& environment,
                             std::optional<TUser> user) {
    outputPath_ = (std::filesystem::temp_directory_path() / "contado-running-XXXXXX").string();
    const int output = mkstemp(outputPath_.data());
    if (output < 0) {
        throw std::runtime_error("cannot create an output file");
    }
    if (user) {
        fchown(output, user->Uid, user->Gid);
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = Pointers(words);
    std::vector<std::string> variables = ChildEnvironment(environment);
    std::vector<char*> envp = Pointers(variables);
    pid_ = fork();
    if (pid_ == 0) {
        ExecChild(argv.data(), envp.data(), output, user);
    }
    close(output);
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + program);
    }
}

TRunningChild::~TRunningChild() {
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove(outputPath_);
}

void TRunningChild::Signal(int signalNumber) const {
    kill(pid_, signalNumber);
}

bool TRunningChild::Running() {
    return !WaitFor(std::chrono::milliseconds(0)).has_value();
}

std::optional<int> TRunningChild::WaitFor(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!status_) {
        int status = 0;
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return status_;
}

std::string TRunningChild::Output() const {
    std::ifstream file(outputPath_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace contado
