#include "platform/fbdriver/fblockfolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace contado {

namespace {

std::string Refused(const std::string& path, const std::string& reason) {
    return "Lock folder " + path + " " + reason +
           "; scripts/setup.sh (as root) makes it, shared by the group of the program's users";
}

}  // namespace

std::string TFbLockFolder::Check(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        return Refused(
            path, errno == ENOENT ? "is missing" : std::string("cannot be read: ") + std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode)) {
        return Refused(path, "is not a directory");
    }
    if ((info.st_mode & S_IWOTH) != 0) {
        return Refused(path, "is writable by every user");
    }
    if (info.st_uid != geteuid() && !SharedWithUs(info)) {
        return Refused(path, "belongs to another user and is not shared with a group of this user");
    }
    return {};
}

bool TFbLockFolder::SharedWithUs(const struct stat& info) {
    return (info.st_mode & S_ISGID) != 0 && (info.st_mode & S_IRWXG) == S_IRWXG && InGroup(info.st_gid);
}

bool TFbLockFolder::InGroup(gid_t group) {
    if (getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int filled = getgroups(count, groups.data());
    for (int i = 0; i < filled; ++i) {
        if (groups[static_cast<std::size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

}  // namespace contado
