#include "platform/fbdriver/fbembeddedroot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/fbdriver/fbenginefolder.h"
#include "platform/fbdriver/fblockfolder.h"

namespace contado {

namespace {

constexpr const char* kSystemRoot = CONTADO_FIREBIRD_SYSTEM_ROOT;
constexpr const char* kSecurityDatabase = "/var/lib/firebird/3.0/system/security3.fdb";

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string SystemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Makes the directory if needed and checks that it is a real directory of this user.
bool EnsureDirectory(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = SystemError(path);
        return false;
    }
    error = TFbEngineFolder::NotOwnProblem(path);
    return error.empty();
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string ConfigurationText() {
    std::string text =
        "# Written by contado: the embedded engine shares database files between processes.\n"
        "ServerMode = SuperClassic\n";
    if (FileExists(kSecurityDatabase)) {
        text += std::string("SecurityDatabase = ") + kSecurityDatabase + "\n";
    }
    return text;
}

}  // namespace

// A folder this process may not use is reported when an embedded database is opened, not here: a
// server over TCP needs neither, and the client library then reads its configuration from the
// system's root.
void TFbEmbeddedRoot::Prepare() {
    if (std::getenv("FIREBIRD") == nullptr) {
        std::string problem;
        const std::optional<std::string> root =
            TFbEngineFolder::Find(TFbEngineFolder::FromEnvironment(), PrepareRoot, problem);
        if (root) {
            setenv("FIREBIRD", root->c_str(), 0);
        } else {
            EngineFolderProblem() = problem;
        }
    }
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        LockFolderProblem() = TFbLockFolder::Check(TFbLockFolder::kPath);
        setenv("FIREBIRD_LOCK", TFbLockFolder::kPath, 0);
    }
}

const std::string& TFbEmbeddedRoot::EmbeddedProblem() {
    return EngineFolderProblem().empty() ? LockFolderProblem() : EngineFolderProblem();
}

std::string& TFbEmbeddedRoot::EngineFolderProblem() {
    static std::string problem;
    return problem;
}

std::string& TFbEmbeddedRoot::LockFolderProblem() {
    static std::string problem;
    return problem;
}

// The folder itself is checked by TFbEngineFolder before it is filled.
bool TFbEmbeddedRoot::PrepareRoot(const std::string& root, std::string& error) {
    if (!WriteConfiguration(root, error)) {
        return false;
    }
    // A missing link only sends the engine to its built-in locations, which are the same.
    for (const char* entry : {"firebird.msg", "plugins", "plugins.conf", "UDF"}) {
        LinkSystemEntry(root, entry);
    }
    return PrepareIntl(root, error);
}

// The engine loads its character-set module from the root's intl folder, then keeps the module under
// its real path (links resolved) and no longer finds it under the configured one, so every character
// set of the module ends up "not installed". The folder is therefore a real one, holding the modules
// themselves (hard links, or copies where the system forbids them) and links to the other files.
bool TFbEmbeddedRoot::PrepareIntl(const std::string& root, std::string& error) {
    const std::string folder = root + "/intl";
    struct stat info;
    if (lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        unlink(folder.c_str());  // the link an older version made
    }
    if (!EnsureDirectory(folder, error)) {
        return false;
    }
    const std::string systemFolder = std::string(kSystemRoot) + "/intl";
    DIR* directory = opendir(systemFolder.c_str());
    if (directory == nullptr) {
        return true;  // no modules: the engine has its built-in character sets only
    }
    bool prepared = true;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0) {
            prepared = PlaceModule(systemFolder + "/" + name, folder + "/" + name, error) && prepared;
        } else {
            LinkSystemEntry(root, "intl/" + name);
        }
    }
    closedir(directory);
    return prepared;
}

// Puts the file at place unless the same one is there: a hard link when allowed, else a copy with the
// source's modification time. Either goes in through a temporary name and a rename, so a process
// starting at the same moment loads the old file or the new one, never half of one.
bool TFbEmbeddedRoot::PlaceModule(const std::string& source, const std::string& place, std::string& error) {
    struct stat wanted;
    struct stat present;
    if (stat(source.c_str(), &wanted) != 0) {
        error = SystemError(source);
        return false;
    }
    if (lstat(place.c_str(), &present) == 0 && S_ISREG(present.st_mode) &&
        ((present.st_dev == wanted.st_dev && present.st_ino == wanted.st_ino) ||
         (present.st_size == wanted.st_size && present.st_mtim.tv_sec == wanted.st_mtim.tv_sec &&
          present.st_mtim.tv_nsec == wanted.st_mtim.tv_nsec))) {
        return true;
    }
    const std::string temporary = place + "." + std::to_string(getpid());
    unlink(temporary.c_str());
    if (link(source.c_str(), temporary.c_str()) != 0 && !CopyFile(source, temporary, wanted)) {
        error = SystemError(temporary);
        unlink(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), place.c_str()) != 0) {
        error = SystemError(place);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool TFbEmbeddedRoot::CopyFile(const std::string& source, const std::string& target,
                               const struct stat& info) {
    {
        std::ifstream input(source, std::ios::binary);
        std::ofstream output(target, std::ios::binary | std::ios::trunc);
        output << input.rdbuf();
        if (!input || !output.flush()) {
            return false;
        }
    }
    chmod(target.c_str(), 0755);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    return utimensat(AT_FDCWD, target.c_str(), times, 0) == 0;
}

// Rewrites firebird.conf only when its text differs, through a temporary file and a rename, so a
// process starting at the same moment never reads half a file.
bool TFbEmbeddedRoot::WriteConfiguration(const std::string& root, std::string& error) {
    const std::string path = root + "/firebird.conf";
    const std::string text = ConfigurationText();
    if (ReadFile(path) == text) {
        return true;
    }
    const std::string temporary = path + "." + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) {
            error = SystemError(temporary);
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = SystemError(path);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool TFbEmbeddedRoot::LinkSystemEntry(const std::string& root, const std::string& entry) {
    const std::string target = std::string(kSystemRoot) + "/" + entry;
    const std::string link = root + "/" + entry;
    if (!FileExists(target) || FileExists(link)) {
        return true;
    }
    unlink(link.c_str());  // a dangling link left by an older installation
    return symlink(target.c_str(), link.c_str()) == 0 || errno == EEXIST;
}

}  // namespace contado
