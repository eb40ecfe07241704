#include "tests/support/companydatabase.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

extern char** environ;

namespace contado {

namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
    return CONTADO_SOURCE_DIR;
}

fs::path CreationScript() {
    return SourceDir() / "scripts" / "create-company-db.sh";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

fs::path MakeTemporaryDirectory(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder in " + parent.string() + ": " +
                                 std::strerror(errno));
    }
    return pattern;
}

std::string Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}

// Fingerprint of what makes a template: the creation script and the SQL files.
std::string SourcesHash() {
    std::vector<fs::path> inputs{CreationScript()};
    for (const auto& entry : fs::directory_iterator(SourceDir() / "companydb")) {
        if (entry.path().extension() == ".sql") {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::string_view text) {
        for (unsigned char byte : text) {
            hash = (hash ^ byte) * 1099511628211ull;
        }
    };
    for (const auto& input : inputs) {
        mix(input.filename().string());
        mix(ReadFile(input));
    }
    std::ostringstream text;
    text << std::hex << hash;
    return text.str();
}

// Names a template after its sources and, for demo data, the number of days and the day they end on.
std::string TemplateKey(int demoDays) {
    std::string key = SourcesHash();
    if (demoDays > 0) {
        key += "-demo" + std::to_string(demoDays) + "-" + Today();
    }
    return key;
}

// Removes the templates of earlier sources and the demo templates of earlier days.
void RemoveStaleTemplates(const fs::path& cache) {
    const std::string current = SourcesHash();
    const std::string today = "-" + Today();
    for (const auto& entry : fs::directory_iterator(cache)) {
        const std::string stem = entry.path().stem().string();
        bool demo = stem.find("-demo") != std::string::npos;
        if (entry.path().extension() == ".fdb" &&
            (!stem.starts_with(current) || (demo && !stem.ends_with(today)))) {
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
            fs::remove(fs::path(entry.path()).replace_extension(".lock"), ignored);
        }
    }
}

// An exclusive lock on a file, so test programs running side by side build a template only once.
class TFileLock {
  public:
    explicit TFileLock(const fs::path& path) : fd_(open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644)) {
        if (fd_ < 0 || flock(fd_, LOCK_EX) != 0) {
            throw std::runtime_error("cannot lock " + path.string() + ": " + std::strerror(errno));
        }
    }
    ~TFileLock() { close(fd_); }
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

  private:
    int fd_;
};

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs a program found on the PATH (or by its path) and waits for it; stdout and stderr are collected.
TProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    std::string outputPath = (fs::temp_directory_path() / "contado-script-XXXXXX").string();
    int output = mkstemp(outputPath.data());
    if (output < 0) {
        throw std::runtime_error("cannot create the output file of " + program + ": " + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output);

    TProcessResult result;
    if (error == 0) {
        result.ExitCode = WaitForExit(pid);
    }
    result.Output = ReadFile(outputPath);
    unlink(outputPath.c_str());
    if (error != 0) {
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
    }
    return result;
}

void RequireSuccess(const std::string& what, const TProcessResult& result) {
    if (result.ExitCode != 0) {
        throw std::runtime_error(what + " failed with exit code " + std::to_string(result.ExitCode) + ":\n" +
                                 result.Output);
    }
}

// Builds the template with the creation script. Tests do not need every write flushed to disk, so the
// template and its copies run without forced writes, which keeps commits fast.
void BuildTemplate(const fs::path& target, int demoDays) {
    fs::path work = MakeTemporaryDirectory(target.parent_path(), "build-");
    fs::path database = work / "datos" / "01" / "tandrel.fdb";
    std::vector<std::string> arguments{work.string(), "01"};
    if (demoDays > 0) {
        arguments.insert(arguments.end(), {"--demo", std::to_string(demoDays)});
    }
    try {
        RequireSuccess("create-company-db.sh", TTestCompany::RunCreationScript(arguments));
        RequireSuccess("gfix", RunProgram("gfix", {"-write", "async", database.string(), "-user", "SYSDBA"}));
        fs::rename(database, target);
    } catch (...) {
        fs::remove_all(work);
        throw;
    }
    fs::remove_all(work);
}

fs::path TemplatePath(int demoDays) {
    fs::path cache = fs::path(CONTADO_BINARY_DIR) / "testcompany";
    fs::create_directories(cache);
    std::string key = TemplateKey(demoDays);
    fs::path path = cache / (key + ".fdb");
    TFileLock lock(cache / (key + ".lock"));
    if (!fs::exists(path)) {
        BuildTemplate(path, demoDays);
        RemoveStaleTemplates(cache);
    }
    return path;
}

}  // namespace

TTestCompany::TTestCompany(int demoDays)
    : serverDir_(MakeTemporaryDirectory(fs::temp_directory_path(), "contado-server-").string()) {
    try {
        fs::path folder = fs::path(serverDir_) / "datos" / companyCode_;
        fs::create_directories(folder);
        fs::copy_file(TemplatePath(demoDays), folder / "tandrel.fdb");
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(serverDir_, ignored);
        throw;
    }
}

TTestCompany::~TTestCompany() {
    std::error_code ignored;
    fs::remove_all(serverDir_, ignored);
}

std::string TTestCompany::DatabasePath() const {
    return (fs::path(serverDir_) / "datos" / companyCode_ / "tandrel.fdb").string();
}

TProcessResult TTestCompany::RunCreationScript(const std::vector<std::string>& arguments) {
    return RunProgram(CreationScript().string(), arguments);
}

}  // namespace contado
