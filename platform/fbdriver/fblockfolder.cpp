#include "platform/fbdriver/fblockfolder.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace contado {

namespace {

std::string NameOf(uid_t uid) {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(uid);
}

std::string GroupOf(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

// One line, with what mends it on an installed system: the package's configuration makes the folder
// and shares it with the group of the program's users; a user who joins a group has it from the
// next login on.
std::string Refused(const std::string& path, const std::string& reason, const std::string& remedy) {
    return "La carpeta de bloqueos " + path + " " + reason + "; " + remedy;
}

constexpr const char* kReconfigure = "sudo dpkg-reconfigure contado";

}  // namespace

std::string TFbLockFolder::Check(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return Refused(path, "no existe",
                           std::string(kReconfigure) +
                               " la crea; luego cada usuario del programa se une a su grupo y vuelve a "
                               "iniciar sesión");
        }
        return Refused(path, std::string("no se puede leer (") + std::strerror(errno) + ")",
                       std::string(kReconfigure) + " la crea o la arregla");
    }
    if (!S_ISDIR(info.st_mode)) {
        return Refused(path, "no es una carpeta", "bórrela y " + std::string(kReconfigure) + " la crea");
    }
    if ((info.st_mode & S_IWOTH) != 0) {
        return Refused(path, "permite escribir a cualquier usuario",
                       std::string(kReconfigure) + " la arregla");
    }
    // Shared as the set-up shares it, the folder's group is the one to join; a folder not shared so
    // gets its group from the configuration, which may be another one.
    if (info.st_uid != geteuid() && !SharedWithUs(info)) {
        const std::string reason = "es de otro usuario y no está compartida con un grupo de este usuario";
        if (!SharedWithGroup(info)) {
            return Refused(path, reason,
                           std::string(kReconfigure) + " la arregla; luego únase a su grupo (stat -c %G " + path +
                               ") y vuelva a iniciar sesión");
        }
        const std::string group = GroupOf(info.st_gid);
        return Refused(path, reason,
                       "únase a su grupo " + group + " (sudo usermod -aG " + group + " " + NameOf(geteuid()) +
                           ") y vuelva a iniciar sesión");
    }
    return {};
}

bool TFbLockFolder::SharedWithUs(const struct stat& info) {
    return SharedWithGroup(info) && InGroup(info.st_gid);
}

// Setgid and group-writable, as the set-up makes it: every lock file in it takes the folder's group.
bool TFbLockFolder::SharedWithGroup(const struct stat& info) {
    return (info.st_mode & S_ISGID) != 0 && (info.st_mode & S_IRWXG) == S_IRWXG;
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
