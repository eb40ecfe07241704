#include "app/run/errorlog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/formatsettings.h"
#include "platform/services/diagnostics.h"

namespace contado {

namespace {

// Every user of the program's group appends to the one log.
constexpr mode_t kLogMode = 0664;

// Never a link to follow, never an open that waits for a reader.
constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

std::string Reason(int error) {
    return std::strerror(error);
}

// A log made here is made group-writable whatever the umask, with the group of the directory
// when this user belongs to it, so the next user of the group can append to it.
void ShareNewLog(int fd, const std::string& directory) {
    fchmod(fd, kLogMode);
    struct stat folder;
    if (stat(directory.c_str(), &folder) == 0 && folder.st_gid != getegid()) {
        (void)fchown(fd, static_cast<uid_t>(-1), folder.st_gid);
    }
}

// The log's descriptor, or -1 with the reason.
int OpenLog(const std::string& directory, std::string& reason) {
    const std::string path = TErrorLog::PathFor(directory);
    int fd = open(path.c_str(), kOpenFlags);
    if (fd < 0 && errno == ENOENT) {
        fd = open(path.c_str(), kOpenFlags | O_CREAT | O_EXCL, kLogMode);
        if (fd >= 0) {
            ShareNewLog(fd, directory);
        } else if (errno == EEXIST) {
            fd = open(path.c_str(), kOpenFlags);
        }
    }
    if (fd < 0) {
        reason = errno == ELOOP ? "es un enlace simbólico" : Reason(errno);
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        reason = "no es un archivo normal";
        return -1;
    }
    return fd;
}

bool WriteWhole(int fd, const std::string& text, std::string& reason) {
    ssize_t written;
    do {
        written = write(fd, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(text.size())) {
        return true;
    }
    reason = written < 0 ? Reason(errno) : "escritura incompleta";
    return false;
}

std::string WithoutLineEnd(std::string line) {
    line.resize(line.size() - 2);
    return line;
}

}  // namespace

std::string TErrorLog::PathFor(const std::string& applicationDirectory) {
    return applicationDirectory + "/" + kFileName;
}

std::string TErrorLog::LineFor(TDateTime moment, const std::string& user, const std::string& message) {
    return DateToStr(moment) + "," + TimeToStr(moment) + "," + user + "," + message + "\r\n";
}

void TErrorLog::Append(const std::string& applicationDirectory, const std::string& user,
                       const std::string& message) {
    const std::string line = LineFor(Now(), user, message);
    if (applicationDirectory.empty()) {
        WriteDiagnostic(dlError, std::string(kFileName) + ": " + WithoutLineEnd(line));
        return;
    }
    std::string reason;
    const int fd = OpenLog(applicationDirectory, reason);
    const bool written = fd >= 0 && WriteWhole(fd, line, reason);
    if (fd >= 0) {
        close(fd);
    }
    if (!written) {
        WriteDiagnostic(dlWarning, "No se pudo escribir en " + PathFor(applicationDirectory) + " (" + reason +
                                       "); la línea perdida: " + WithoutLineEnd(line));
    }
}

}  // namespace contado
