#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace contado {

// A program started in the background with the test's environment plus some variables of its own,
// optionally as another user; the test signals it and waits for it with a limit. Its standard output
// and error go to one file, read once it has ended. A child still running when the object goes is
// killed.
class TRunningChild {
  public:
    struct TUser {
        uid_t Uid = 0;
        gid_t Gid = 0;
    };

    TRunningChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::vector<std::pair<std::string, std::string>>& environment = {},
                  std::optional<TUser> user = std::nullopt);
    ~TRunningChild();
    TRunningChild(const TRunningChild&) = delete;
    TRunningChild& operator=(const TRunningChild&) = delete;

    pid_t Pid() const { return pid_; }
    void Signal(int signalNumber) const;
    // The exit status, 128 + the signal for a child a signal killed, or nothing when it has not
    // ended within the limit.
    std::optional<int> WaitFor(std::chrono::milliseconds limit);
    bool Running();
    std::string Output() const;

  private:
    pid_t pid_ = -1;
    std::string outputPath_;
    std::optional<int> status_;
};

}  // namespace contado
