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
    int BlobSize = -1;       // kilobytes read of a blob; -1 reads it whole
    int ConnectTimeout = 0;  // seconds for a server to take the connection and answer; 0 as configured
    int LockTimeout = 0;     // seconds a waiting transaction waits on a lock; 0 without end
    int AnswerTimeout = 0;   // seconds a call may wait for the server before it is cut; 0 without end
};

}  // namespace contado
