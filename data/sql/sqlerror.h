#pragma once

#include <string>

#include "platform/sqldriver.h"

namespace contado {

// Turns a failing driver status into the message of an EDatabaseError: the status's own text
// ("SQLDriver Error: ..."), the failing handle's text ("SQL Server Error: ..."), both on two lines
// when both exist, else the previous error text of the same object, else an unknown-code text.
class TSQLError {
  public:
    static std::string Message(SQLResult status, const std::string& handleText,
                               const std::string& previousText);

    // Nothing for success; otherwise asks the handle for its text, keeps the message as the
    // object's last error text and raises it (no component prefix).
    template <typename Handle>
    static void Check(SQLResult status, Handle* handle, std::string& lastErrorText) {
        if (status != sqlstatus::kSuccess) {
            std::string handleText;
            if (handle != nullptr) {
                handle->getErrorMessage(handleText);
            }
            Raise(status, handleText, lastErrorText);
        }
    }

    [[noreturn]] static void Raise(SQLResult status, const std::string& handleText,
                                   std::string& lastErrorText);

  private:
    static std::string StatusText(SQLResult status);
};

}  // namespace contado
