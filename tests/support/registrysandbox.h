#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/scopedenvironment.h"

namespace contado {

// A temporary machine configuration: XDG_CONFIG_DIRS points into a fresh folder, which also holds
// an application directory for SERVIDORES.cfg and the like. Everything is removed afterwards.
class TRegistrySandbox {
  public:
    TRegistrySandbox() : root_(MakeRoot()), environment_("XDG_CONFIG_DIRS", (root_ / "xdg").string()) {
        std::filesystem::create_directories(root_ / "xdg" / "Ombrin");
        std::filesystem::create_directories(ApplicationDirectory());
    }
    ~TRegistrySandbox() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TRegistrySandbox(const TRegistrySandbox&) = delete;
    TRegistrySandbox& operator=(const TRegistrySandbox&) = delete;

    std::filesystem::path SettingsFile() const { return root_ / "xdg" / "Ombrin" / "TandrelERP2017.conf"; }
    std::filesystem::path ApplicationDirectory() const { return root_ / "tandrel"; }

    // Writes the settings file with exactly these lines.
    void WriteSettings(const std::string& contents) const { WriteFile(SettingsFile(), contents); }
    // The settings file naming the sandbox's application directory.
    void PointAtApplicationDirectory() const {
        WriteSettings("[General]\nDirectorio=" + ApplicationDirectory().string() + "\n");
    }
    void WriteApplicationFile(const std::string& name, const std::string& bytes) const {
        WriteFile(ApplicationDirectory() / name, bytes);
    }

  private:
    static std::filesystem::path MakeRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "contado-registry-XXXXXX").string();
        return mkdtemp(pattern.data());
    }
    static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::filesystem::path root_;
    TScopedEnvironment environment_;
};

}  // namespace contado
