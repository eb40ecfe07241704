#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace contado {

// The server list file "SERVIDORES.cfg": one server text per line, in file order, with empty lines,
// duplicates and blanks kept. Lines end with CR LF, LF or CR alone; a last line without a line end
// is an entry too. A zero byte ends the entry's text and the rest of its line is dropped. Lines
// have no length limit. Bytes are kept as they are (UTF-8 expected). Only a regular file is read, and
// only its first MiB.
class TServerList {
  public:
    static constexpr const char* kFileName = "SERVIDORES.cfg";
    static constexpr std::size_t kMaximumSize = 1024 * 1024;

    // The file's path for an application directory; none without a directory.
    static std::string PathFor(const std::string& applicationDirectory);
    // The entries of the file; none when it is missing or cannot be read, without any message.
    // Without a path, none either, and a line on standard error says why.
    static std::vector<std::string> Read(const std::string& fileName);
    // The entries of the file's bytes.
    static std::vector<std::string> Parse(const std::string& bytes);
};

}  // namespace contado
