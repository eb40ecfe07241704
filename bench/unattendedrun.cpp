// The scheduler's run on a day that is posted already, as whole processes: the program started with
// its four arguments (it connects, rebuilds today's closing adjustments, finds nothing to post and
// ends with status 1) beside isql-fb running the same posting select on the same embedded database,
// with the same engine root and lock folder. The two alternate, RUNS times each (argument, default
// 21); the medians of wall time and of peak resident memory (the child's ru_maxrss) are printed with
// their ratios. No display is used: the program picks the minimal platform itself. The window's
// program doing the same run on the minimal platform (what the program did before it ran alone
// without a display) is measured beside them, to show what loading the toolkit costs.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/companydatabase.h"

namespace {

struct TRun {
    double Milliseconds = 0;
    double PeakMegabytes = 0;
    int Status = -1;
};

// Starts the program with the arguments and environment, its input from inputPath (or /dev/null)
// and its output thrown away, and waits for it.
TRun RunProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                const std::string& inputPath) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : environment) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    envp.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int input = open(inputPath.empty() ? "/dev/null" : inputPath.c_str(), O_RDONLY);
        const int output = open("/dev/null", O_WRONLY);
        dup2(input, 0);
        dup2(output, 1);
        dup2(output, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    TRun run;
    run.Milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    run.PeakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A program measured run after run: its arguments, input and the status every run must end with.
struct TContender {
    const char* Name;
    std::vector<std::string> Arguments;
    std::string InputPath;
    int Status;
    std::vector<double> Times = {};
    std::vector<double> Memory = {};
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
    return text;
}

// The environment both programs run with: no display, the settings file of the test folder, and
// the Firebird root and lock folder the driver uses.
std::vector<std::string> Environment(const std::string& settingsDir, const std::string& runtimeDir) {
    const std::string root = "/tmp/contado-firebird-" + std::to_string(getuid());
    const char* lock = std::getenv("FIREBIRD_LOCK");
    std::vector<std::string> environment = {
        "PATH=/usr/bin:/bin",
        "HOME=" + std::string(std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/tmp"),
        "LANG=C.UTF-8",
        "XDG_CONFIG_DIRS=" + settingsDir,
        "XDG_RUNTIME_DIR=" + runtimeDir,
        "FIREBIRD=" + root,
        "FIREBIRD_LOCK=" + std::string(lock != nullptr ? lock : "/var/lib/contado/lock"),
        "ISC_PASSWORD=masterkey",
    };
    return environment;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    contado::TTestCompany company(30);
    // Settings and the application directory inside the server folder, removed with the company.
    const std::filesystem::path folder = std::filesystem::path(company.ServerDir()) / "bench";
    std::filesystem::create_directories(folder / "app");
    std::filesystem::create_directories(folder / "xdg" / "Ombrin");
    std::filesystem::create_directories(folder / "runtime");
    std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
    std::ofstream(folder / "app" / "SERVIDORES.cfg") << company.ServerDir() << "\r\n";
    std::ofstream(folder / "xdg" / "Ombrin" / "TandrelERP2017.conf")
        << "[General]\nDirectorio=" << (folder / "app").string() << "\n";
    const std::string day = Today();
    const std::string select = "select * from contado_ralvek('" + day + "', '" + day + "');\n";
    std::ofstream(folder / "posting.sql") << select;

    const std::vector<std::string> environment =
        Environment((folder / "xdg").string(), (folder / "runtime").string());
    const std::vector<std::string> program = {std::string(CONTADO_BINARY_DIR) + "/bin/contado",
                                              company.ServerDir(), "SYSDBA", "-", company.CompanyCode()};
    std::vector<std::string> window = program;
    window.front() = std::string(CONTADO_BINARY_DIR) + "/bin/contado-ventana";
    const std::vector<std::string> isql = {"/usr/bin/isql-fb", "-q", "-user", "SYSDBA", "-password",
                                           "masterkey", company.DatabasePath()};

    // The first run posts today (it also prepares the engine root both use); every later one finds
    // nothing to post.
    const TRun first = RunProcess(program, environment, "");
    std::printf("first run (posts today): status %d, %.1f ms, %.1f MB\n", first.Status, first.Milliseconds,
                first.PeakMegabytes);
    RunProcess(isql, environment, (folder / "posting.sql").string());

    // The three contenders in turn, each run after run with the status it must end with.
    std::vector<TContender> contenders = {{"contado (nothing to post, status 1)", program, "", 1},
                                          {"isql-fb (the posting select)", isql, (folder / "posting.sql").string(), 0},
                                          {"contado-ventana (same run, Qt)", window, "", 1}};
    for (int run = 0; run < runs; ++run) {
        for (TContender& contender : contenders) {
            const TRun result = RunProcess(contender.Arguments, environment, contender.InputPath);
            if (result.Status != contender.Status) {
                std::fprintf(stderr, "%s: run %d ended with %d, not %d\n", contender.Name, run, result.Status,
                             contender.Status);
                return 2;
            }
            contender.Times.push_back(result.Milliseconds);
            contender.Memory.push_back(result.PeakMegabytes);
        }
    }
    const TContender& isqlRuns = contenders[1];
    std::printf("%d runs each, alternating; medians, and ratios to isql-fb\n", runs);
    std::printf("%-34s %10s %12s %10s %12s\n", "", "wall ms", "peak RSS MB", "time", "memory");
    for (const TContender& contender : contenders) {
        const double time = Median(contender.Times);
        const double peak = Median(contender.Memory);
        std::printf("%-34s %10.1f %12.1f %9.2fx %11.2fx\n", contender.Name, time, peak,
                    time / Median(isqlRuns.Times), peak / Median(isqlRuns.Memory));
    }
    return 0;
}
