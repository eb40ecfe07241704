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
    // Chooses and fills this user's engine folder (see TFbEngineFolder) and checks the lock folder.
    static void Prepare();
    // Why this process may not open an embedded database, or empty: its engine folder could not be
    // prepared, or it may not use the machine's lock folder (an engine with another lock folder must
    // never open a file others have open).
    static const std::string& EmbeddedProblem();

  private:
    static std::string& EngineFolderProblem();
    static std::string& LockFolderProblem();
    static bool PrepareRoot(const std::string& root, std::string& error);
    static bool WriteConfiguration(const std::string& root, std::string& error);
    static bool LinkSystemEntry(const std::string& root, const std::string& entry);
    static bool PrepareIntl(const std::string& root, std::string& error);
    static bool PlaceModule(const std::string& source, const std::string& place, std::string& error);
    static bool CopyFile(const std::string& source, const std::string& target, const struct stat& info);
};

}  // namespace contado
