#include "tests/support/childprocess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace contado {

namespace {

// A temporary file that takes one output stream of the child; removed with the object.
class TCaptureFile {
  public:
    TCaptureFile() {
        path_ = (std::filesystem::temp_directory_path() / "contado-child-XXXXXX").string();
        fd_ = mkstemp(path_.data());
        if (fd_ < 0) {
            throw std::runtime_error(std::string("cannot create a capture file: ") + std::strerror(errno));
        }
    }
    ~TCaptureFile() {
        close(fd_);
        unlink(path_.c_str());
    }
    TCaptureFile(const TCaptureFile&) = delete;
    TCaptureFile& operator=(const TCaptureFile&) = delete;

    int Descriptor() const { return fd_; }
    std::string Contents() const {
        std::ifstream file(path_, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

  private:
    std::string path_;
    int fd_ = -1;
};

// A child that has not ended after this long is taken to hang: it is killed and counts as failed.
constexpr auto kLongestRun = std::chrono::seconds(120);

int WaitForExit(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (ended < 0 && errno != EINTR) {
            return -1;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

TChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    TCaptureFile output;
    TCaptureFile errors;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output.Descriptor(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.Descriptor(), STDERR_FILENO);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
    }
    TChildResult result;
    result.ExitCode = WaitForExit(pid);
    result.StandardOutput = output.Contents();
    result.StandardError = errors.Contents();
    return result;
}

}  // namespace contado
