#pragma once

#include <sys/stat.h>

#include <string>

namespace contado {

// Points the embedded Firebird engine at a configuration of this program before the client library
// is loaded. Firebird's own embedded mode lets one process open a database file; here the engine runs
// as SuperClassic with one lock directory for every process of the program on the machine, so the
// clerk's window and an unattended run, of different users, can work on the same company file at
// once. FIREBIRD or FIREBIRD_LOCK set by the user are left as they are.
class TFbEmbeddedRoot {
  public:
    // False, with the reason in error, when the directories cannot be prepared.
    static bool Prepare(std::string& error);
    // Why this process may not use the machine's lock folder, or empty; an embedded database is then
    // not opened, since an engine with another lock folder must never open a file others have open.
    static const std::string& LockFolderProblem();

  private:
    static std::string& LockFolderProblemText();
    static bool PrepareRoot(const std::string& root, std::string& error);
    static bool WriteConfiguration(const std::string& root, std::string& error);
    static bool LinkSystemEntry(const std::string& root, const std::string& entry);
    static bool PrepareIntl(const std::string& root, std::string& error);
    static bool PlaceModule(const std::string& source, const std::string& place, std::string& error);
    static bool CopyFile(const std::string& source, const std::string& target, const struct stat& info);
};

}  // namespace contado
