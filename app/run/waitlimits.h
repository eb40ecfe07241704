#pragma once

#include <string>

namespace contado {

// How long an unattended run waits, in seconds, read from the machine settings beside Directorio:
// EsperaConexion for a database server to take the connection and answer (default 30),
// EsperaBloqueo for a row that another session holds locked (default 120), and EsperaRespuesta for
// the server to answer one call once connected (default 480 more than EsperaBloqueo, so 600: a lock
// wait and a long posting fit in it). A value that is not a whole number from 1 to 86400 leaves the
// default.
class TWaitLimits {
  public:
    static constexpr int kDefaultConnectSeconds = 30;
    static constexpr int kDefaultLockSeconds = 120;
    static constexpr int kAnswerBeyondLockSeconds = 480;

    static int ConnectSeconds();
    static int LockSeconds();
    static int AnswerSeconds();

  private:
    static int Setting(const char* name, int fallback);
};

}  // namespace contado
