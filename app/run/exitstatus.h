#pragma once

namespace contado {

// What the program tells whoever started it when it ends.
enum TExitStatus {
    // A posting run that returned rows, or the window closed by the user.
    esDone = 0,
    // A posting run that returned no rows: "No se pudo contabilizar las facturas.".
    esNothingPosted = 1,
    // An unattended run without a display that an error stopped.
    esRunFailed = 2,
};

}  // namespace contado
