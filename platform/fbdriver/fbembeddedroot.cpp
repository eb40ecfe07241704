#include "platform/fbdriver/fbembeddedroot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace contado {

namespace {

constexpr const char* kSystemRoot = CONTADO_FIREBIRD_SYSTEM_ROOT;
constexpr const char* kSecurityDatabase = "/var/lib/firebird/3.0/system/security3.fdb";
// Shared by every user, so that processes of different users never lock one file separately.
constexpr const char* kLockDirectory = "/tmp/contado-firebird-lock";

std::string RootDirectory() {
    return "/tmp/contado-firebird-" + std::to_string(getuid());
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string SystemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Makes the directory if needed and checks that it is a real directory, owned by this user unless
// it is the shared one.
bool EnsureDirectory(const std::string& path, bool shared, std::string& error) {
    const bool created = mkdir(path.c_str(), 0700) == 0;
    if (!created && errno != EEXIST) {
        error = SystemError(path);
        return false;
    }
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || (!shared && info.st_uid != getuid())) {
        error = path + ": not a directory of this user";
        return false;
    }
    if (created && shared && chmod(path.c_str(), 01777) != 0) {
        error = SystemError(path);
        return false;
    }
    return true;
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

bool TFbEmbeddedRoot::Prepare(std::string& error) {
    if (std::getenv("FIREBIRD") == nullptr) {
        const std::string root = RootDirectory();
        if (!PrepareRoot(root, error)) {
            return false;
        }
        setenv("FIREBIRD", root.c_str(), 0);
    }
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        if (!PrepareLockDirectory(kLockDirectory, error)) {
            return false;
        }
        setenv("FIREBIRD_LOCK", kLockDirectory, 0);
    }
    return true;
}

bool TFbEmbeddedRoot::PrepareRoot(const std::string& root, std::string& error) {
    if (!EnsureDirectory(root, false, error) || !WriteConfiguration(root, error)) {
        return false;
    }
    // A missing link only sends the engine to its built-in locations, which are the same.
    for (const char* entry : {"firebird.msg", "plugins", "intl", "plugins.conf", "UDF"}) {
        LinkSystemEntry(root, entry);
    }
    return true;
}

bool TFbEmbeddedRoot::PrepareLockDirectory(const std::string& path, std::string& error) {
    return EnsureDirectory(path, true, error);
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
