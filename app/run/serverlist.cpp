#include "app/run/serverlist.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/services/diagnostics.h"

namespace contado {

namespace {

// The text of a line buffer: everything before its first zero byte.
std::string EntryText(const std::string& line) {
    return line.substr(0, line.find('\0'));
}

// Up to the limit of a regular file's bytes. Opening does not wait (a FIFO would wait for a writer),
// and anything that is not a regular file (a FIFO, a device such as /dev/zero) gives nothing.
std::string RegularFileStart(const std::string& fileName, std::size_t limit) {
    const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return {};
    }
    std::string bytes;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(limit);
        std::size_t filled = 0;
        while (filled < limit) {
            const ssize_t count = read(fd, bytes.data() + filled, limit - filled);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(count);
        }
        bytes.resize(filled);
    }
    close(fd);
    return bytes;
}

}  // namespace

std::string TServerList::PathFor(const std::string& applicationDirectory) {
    return applicationDirectory.empty() ? std::string() : applicationDirectory + "/" + kFileName;
}

std::vector<std::string> TServerList::Read(const std::string& fileName) {
    if (fileName.empty()) {
        WriteDiagnostic(dlWarning, std::string(kFileName) +
                                       ": sin directorio de la aplicación no hay lista de servidores");
        return {};
    }
    return Parse(RegularFileStart(fileName, kMaximumSize));
}

std::vector<std::string> TServerList::Parse(const std::string& bytes) {
    std::vector<std::string> entries;
    std::string line;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        const char byte = bytes[index];
        if (byte == '\r' || byte == '\n') {
            entries.push_back(EntryText(line));
            line.clear();
            if (byte == '\r' && index + 1 < bytes.size() && bytes[index + 1] == '\n') {
                ++index;
            }
        } else {
            line += byte;
        }
    }
    if (!line.empty()) {
        entries.push_back(EntryText(line));
    }
    return entries;
}

}  // namespace contado
