#pragma once

#include <cstdint>
#include <string>

namespace contado {

// The connection options a Firebird connection honours, as set before and after connecting.
struct TFbConnectionOptions {
    std::string HostName;
    std::string RoleName;
    std::string ServerCharSet;
    std::string ObjectName;  // the name last handed in to be quoted
    bool WaitOnLocks = true;
    bool CommitRetain = false;
    bool TrimChar = false;
    std::uint32_t IsolationLevel = 0;  // 0 read committed, 1 repeatable read, 2 dirty read
    int SQLDialect = 3;
    int BlobSize = -1;  // kilobytes read of a blob; -1 reads it whole
};

}  // namespace contado
