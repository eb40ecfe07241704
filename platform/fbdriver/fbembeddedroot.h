#pragma once

#include <sys/stat.h>

#include <string>

namespace contado {

// Points the embedded Firebird engine at a configuration of this program before the client library
// is loaded. Firebird's own embedded mode lets one process open a database file; here the engine runs
// as SuperClassic with one lock directory for every process of the program, so the clerk's window and
// an unattended run can work on the same company file at once. FIREBIRD or FIREBIRD_LOCK set by the
// user are left as they are.
class TFbEmbeddedRoot {
  public:
    // False, with the reason in error, when the directories cannot be prepared.
    static bool Prepare(std::string& error);

  private:
    static bool PrepareRoot(const std::string& root, std::string& error);
    static bool PrepareLockDirectory(const std::string& path, std::string& error);
    static bool WriteConfiguration(const std::string& root, std::string& error);
    static bool LinkSystemEntry(const std::string& root, const std::string& entry);
    static bool PrepareIntl(const std::string& root, std::string& error);
    static bool PlaceModule(const std::string& source, const std::string& place, std::string& error);
    static bool CopyFile(const std::string& source, const std::string& target, const struct stat& info);
};

}  // namespace contado
