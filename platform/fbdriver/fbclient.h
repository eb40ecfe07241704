#pragma once

#include <firebird/Interface.h>

#include <string>

namespace contado {

// The Firebird client library, loaded by name with dlopen once per process and never unloaded
// (the engine keeps threads and state that do not survive an unload).
class TFbClient {
  public:
    // The loaded library; null, with the reason in error, when it cannot be loaded.
    static TFbClient* Load(const std::string& libraryName, std::string& error);

    Firebird::IMaster* Master() const { return master_; }
    Firebird::IProvider* Provider() const { return provider_; }
    Firebird::IUtil* Util() const { return util_; }
    // The status vector as Firebird's tools print it: one message per line, later lines led by "-".
    std::string FormatStatus(Firebird::IStatus* status) const;

  private:
    explicit TFbClient(Firebird::IMaster* master);

    Firebird::IMaster* master_;
    Firebird::IProvider* provider_;
    Firebird::IUtil* util_;
};

}  // namespace contado
