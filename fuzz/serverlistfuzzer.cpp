// The server-list reader over arbitrary file bytes: no entry may keep a line end or a zero byte,
// and joining the entries back with LF must give a list that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/run/serverlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = contado::TServerList::Parse(bytes);
    std::string joined;
    for (const std::string& entry : entries) {
        if (entry.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
            std::abort();
        }
        joined += entry;
        joined += '\n';
    }
    if (contado::TServerList::Parse(joined) != entries) {
        std::abort();
    }
    return 0;
}
