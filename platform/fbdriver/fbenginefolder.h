#pragma once

#include <functional>
#include <optional>
#include <string>

namespace contado {

// Where this user's configuration of the embedded engine lives (the FIREBIRD root: firebird.conf,
// links to the engine's files, the intl folder). The engine loads the plugins and modules that folder
// names, so only this user may write to it, and its name must not be one that another local user
// could make first. The places, in order:
//
//   $XDG_RUNTIME_DIR/contado-firebird        when XDG_RUNTIME_DIR is a real directory of this user
//                                            with mode 0700 (systemd makes it so for a login)
//   ${XDG_CACHE_HOME:-$HOME/.cache}/contado-firebird
//                                            when that cache folder is, or can be made, a directory
//                                            of this user that no one else may write to
//   ${TMPDIR:-/tmp}/contado-firebird-UID-XXXXXX
//                                            made by mkdtemp: a service user without a home, a home
//                                            that cannot be written; the next run of the same user
//                                            takes it again when it is a real 0700 directory of that
//                                            user, and passes over names others have made
//
// A place that cannot be used is passed over. A folder at one of the first two that is not this
// user's own (a link, another user's, writable by others) is refused, naming it: nobody else can make
// it there, so it is something to mend, not to work around.
//
// For the package's purge: these are every user's $XDG_RUNTIME_DIR/contado-firebird (gone at logout
// anyway) and ~/.cache/contado-firebird (or $XDG_CACHE_HOME/contado-firebird), and
// /tmp/contado-firebird-* (or under $TMPDIR; older versions used /tmp/contado-firebird-UID). Each
// only holds configuration, links and a copy of the engine's character-set module, remade on the
// next start.
class TFbEngineFolder {
  public:
    static constexpr const char* kName = "contado-firebird";

    // The environment the choice depends on; empty for a variable that is not set.
    struct TPlaces {
        std::string RuntimeDir;
        std::string CacheHome;
        std::string Home;
        std::string TempDir = "/tmp";
    };
    static TPlaces FromEnvironment();

    // Fills a folder of this user with the engine's configuration; false, with the reason in error.
    using TPrepare = std::function<bool(const std::string& folder, std::string& error)>;

    // The first folder of the places above that is this user's own and that prepare could fill; when
    // there is none, nothing, with the reason (in Spanish, naming the folder) in problem.
    static std::optional<std::string> Find(const TPlaces& places, const TPrepare& prepare,
                                           std::string& problem);

    // Empty when path is a real directory of this user that no other user may write to; otherwise the
    // refusal, naming the folder.
    static std::string NotOwnProblem(const std::string& path);

  private:
    enum class TOutcome { Unusable, Refused, Prepared };
    static TOutcome TryFolder(const std::string& folder, const TPrepare& prepare, std::string& problem);
    static std::optional<std::string> CacheBase(const TPlaces& places);
    static std::optional<std::string> FindInTemp(const std::string& tempDir, const TPrepare& prepare,
                                                 std::string& problem);
};

}  // namespace contado
