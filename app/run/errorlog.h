#pragma once

#include <string>

#include "core/datetime.h"

namespace contado {

// The error log "ERRORES.TXT" in the application directory: one line per error with the
// date, time, user and message separated by commas, ended by CR LF.
class TErrorLog {
  public:
    static constexpr const char* kFileName = "ERRORES.TXT";

    // The log's path for an application directory (an empty directory gives the root).
    static std::string PathFor(const std::string& applicationDirectory);
    // The line for an error, in the regional short date and long time formats.
    static std::string LineFor(TDateTime moment, const std::string& user, const std::string& message);
    // Appends the line in one write, creating the file group-writable when missing; an existing
    // log is never emptied. The log is only ever a regular file of the application directory: a
    // link, a FIFO or anything else, or a log that cannot be written, loses the line, which is
    // said on standard error with the reason; the caller goes on either way. Without an
    // application directory nothing is written into the root folder: the line goes to standard
    // error.
    static void Append(const std::string& applicationDirectory, const std::string& user,
                       const std::string& message);
};

}  // namespace contado
