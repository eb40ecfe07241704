#include "platform/services/diagnostics.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace contado {

bool StandardErrorIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    if (stream == nullptr) {
        return false;
    }
    unsigned long long device = 0;
    unsigned long long inode = 0;
    struct stat info;
    return std::sscanf(stream, "%llu:%llu", &device, &inode) == 2 && fstat(STDERR_FILENO, &info) == 0 &&
           info.st_dev == device && info.st_ino == inode;
}

void WriteDiagnostic(TDiagnosticLevel level, const std::string& line) {
    std::string text = StandardErrorIsJournal() ? "<" + std::to_string(static_cast<int>(level)) + ">" : std::string();
    text += line;
    text += '\n';
    const char* rest = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = write(STDERR_FILENO, rest, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        rest += written;
        left -= static_cast<std::size_t>(written);
    }
}

}  // namespace contado
