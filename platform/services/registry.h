#pragma once

#include <memory>
#include <string>

namespace contado {

class TSettingsFile;

// Read-only access to the machine-wide settings that stand in for HKEY_LOCAL_MACHINE.
//
// A key "\Software\<Organisation>\<Application>" is the INI file <Organisation>/<Application>.conf
// in the system configuration directory: the first directory of XDG_CONFIG_DIRS that holds the file
// (/etc/xdg when the variable is unset). A missing or unreadable file is a key that cannot be
// opened; the values are the entries of the file's [General] section.
class TRegistry {
  public:
    TRegistry();
    ~TRegistry();

    // Opens the key without creating it; false when it does not exist or cannot be read.
    bool OpenKeyReadOnly(const std::string& key);
    // The text of a string value of the open key; empty when the value is absent or empty.
    // Throws Exception "Invalid data type for '%s'" when the value is not a plain string.
    std::string ReadString(const std::string& name) const;
    void CloseKey();

    // The file that stands for a key, whether or not it exists; empty for a key of another shape.
    static std::string SettingsFileFor(const std::string& key);

  private:
    std::unique_ptr<TSettingsFile> settings_;
};

}  // namespace contado
