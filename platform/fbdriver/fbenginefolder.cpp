#include "platform/fbdriver/fbenginefolder.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace contado {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The XDG rules take only absolute paths; a relative one counts as not set.
bool Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string UserName(uid_t uid) {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return "con uid " + std::to_string(uid);
}

std::string Permissions(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// A directory of this user that no one else may write to (the link itself may be one when
// followLink: a user's ~/.cache often is).
bool PrivateBase(const std::string& path, bool followLink, mode_t forbidden) {
    struct stat info;
    const int found = followLink ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    return found == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & forbidden) == 0;
}

std::string Parent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

std::string Trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

TFbEngineFolder::TPlaces TFbEngineFolder::FromEnvironment() {
    TPlaces places;
    places.RuntimeDir = Variable("XDG_RUNTIME_DIR");
    places.CacheHome = Variable("XDG_CACHE_HOME");
    places.Home = Variable("HOME");
    const std::string temp = Variable("TMPDIR");
    if (Absolute(temp)) {
        places.TempDir = temp;
    }
    return places;
}

std::optional<std::string> TFbEngineFolder::Find(const TPlaces& places, const TPrepare& prepare,
                                                 std::string& problem) {
    std::vector<std::string> folders;
    // systemd's runtime folder of a login is 0700; one any other user may enter is not taken.
    if (Absolute(places.RuntimeDir) && PrivateBase(places.RuntimeDir, false, 077)) {
        folders.push_back(Trimmed(places.RuntimeDir) + "/" + kName);
    }
    if (const std::optional<std::string> cache = CacheBase(places)) {
        folders.push_back(*cache + "/" + kName);
    }
    for (const std::string& folder : folders) {
        switch (TryFolder(folder, prepare, problem)) {
            case TOutcome::Prepared:
                return folder;
            case TOutcome::Refused:
                return std::nullopt;
            case TOutcome::Unusable:
                break;
        }
    }
    return FindInTemp(places.TempDir, prepare, problem);
}

// $XDG_CACHE_HOME, else ~/.cache, made (0700, as the XDG rules ask) when missing in a folder of this
// user. A home of another user (root's HOME left to a program run as someone else) is not used.
std::optional<std::string> TFbEngineFolder::CacheBase(const TPlaces& places) {
    std::string base;
    if (Absolute(places.CacheHome)) {
        base = Trimmed(places.CacheHome);
    } else if (Absolute(places.Home) && Trimmed(places.Home) != "/") {
        base = Trimmed(places.Home) + "/.cache";
    } else {
        return std::nullopt;
    }
    if (PrivateBase(base, true, 022)) {
        return base;
    }
    struct stat info;
    if (lstat(base.c_str(), &info) != 0 && errno == ENOENT && PrivateBase(Parent(base), true, 022) &&
        mkdir(base.c_str(), 0700) == 0) {
        return base;
    }
    return std::nullopt;
}

TFbEngineFolder::TOutcome TFbEngineFolder::TryFolder(const std::string& folder, const TPrepare& prepare,
                                                     std::string& problem) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = "No se pudo crear la carpeta del motor " + folder + ": " + std::strerror(errno);
        return TOutcome::Unusable;
    }
    problem = NotOwnProblem(folder);
    if (!problem.empty()) {
        return TOutcome::Refused;
    }
    std::string error;
    if (!prepare(folder, error)) {
        problem = "No se pudo preparar la carpeta del motor " + folder + ": " + error;
        return TOutcome::Unusable;
    }
    return TOutcome::Prepared;
}

// Any local user may make names in /tmp, so the name is not guessable and a folder found there is
// taken only when it is this user's own and private; others' are passed over, never refused.
std::optional<std::string> TFbEngineFolder::FindInTemp(const std::string& tempDir, const TPrepare& prepare,
                                                       std::string& problem) {
    const std::string base = Trimmed(tempDir);
    const std::string prefix = std::string(kName) + "-" + std::to_string(geteuid()) + "-";
    std::string error;
    if (DIR* directory = opendir(base.c_str())) {
        std::vector<std::string> found;
        while (const dirent* entry = readdir(directory)) {
            const std::string name = entry->d_name;
            if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(base + "/" + name);
            }
        }
        closedir(directory);
        for (const std::string& folder : found) {
            if (PrivateBase(folder, false, 077) && prepare(folder, error)) {
                return folder;
            }
        }
    }
    std::string pattern = base + "/" + prefix + "XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        problem = "No se pudo crear una carpeta del motor en " + base + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (!prepare(pattern, error)) {
        problem = "No se pudo preparar la carpeta del motor " + pattern + ": " + error;
        return std::nullopt;
    }
    return pattern;
}

std::string TFbEngineFolder::NotOwnProblem(const std::string& path) {
    struct stat info;
    std::string reason;
    if (lstat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
    } else if (S_ISLNK(info.st_mode)) {
        reason = "es un enlace simbólico";
    } else if (!S_ISDIR(info.st_mode)) {
        reason = "no es una carpeta";
    } else if (info.st_uid != geteuid()) {
        reason = "pertenece al usuario " + UserName(info.st_uid);
    } else if ((info.st_mode & 022) != 0) {
        reason = "otros usuarios pueden escribir en ella (permisos " + Permissions(info.st_mode) + ")";
    } else {
        return {};
    }
    return "La carpeta del motor " + path + " no es de este usuario: " + reason +
           "; bórrela (como root si no puede) y el programa la hará de nuevo";
}

}  // namespace contado
