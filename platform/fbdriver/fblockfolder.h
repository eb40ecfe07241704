#pragma once

#include <sys/stat.h>

#include <string>

namespace contado {

// The embedded engine's one lock folder on the machine. Every process that opens a company file must
// use the same one, whoever runs it (the clerk, a scheduler's service with a private /tmp), so it is
// a fixed system path, made by the set-up (the package's configuration, scripts/setup.sh in a work
// tree) for the group of the program's users: group-writable and setgid, so every lock file in it
// belongs to that group (the engine itself gives the files it makes as root to group firebird, where
// that user exists).
class TFbLockFolder {
  public:
    static constexpr const char* kPath = "/var/lib/contado/lock";

    // Empty when this process may share the folder; otherwise, in one line of Spanish for the user,
    // why not and what mends it on an installed system. A folder is refused when it is missing, not a
    // real directory, writable by every user (anyone could take it over), or owned by another user
    // without being shared with one of this user's groups.
    static std::string Check(const std::string& path);

  private:
    static bool SharedWithUs(const struct stat& info);
    static bool SharedWithGroup(const struct stat& info);
    static bool InGroup(gid_t group);
};

}  // namespace contado
