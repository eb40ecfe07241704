#include "app/serverlist.h"

#include <fstream>

namespace contado {

namespace {

// The text of a line buffer: everything before its first zero byte.
std::string EntryText(const std::string& line) {
    return line.substr(0, line.find('\0'));
}

}  // namespace

std::string TServerList::PathFor(const std::string& applicationDirectory) {
    return applicationDirectory + "/" + kFileName;
}

std::vector<std::string> TServerList::Read(const std::string& fileName) {
    std::vector<std::string> entries;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return entries;
    }
    std::string line;
    char byte = 0;
    while (file.get(byte)) {
        if (byte == '\r' || byte == '\n') {
            entries.push_back(EntryText(line));
            line.clear();
            if (byte == '\r' && file.peek() == '\n') {
                file.get(byte);
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
