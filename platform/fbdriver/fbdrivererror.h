#pragma once

#include <stdexcept>
#include <string>

#include "platform/sqldriver.h"

namespace contado {

// A failure found by the driver itself rather than by the server: a status of its own and a text
// (possibly empty) for the handle's error message.
class EFbDriverError : public std::runtime_error {
  public:
    explicit EFbDriverError(SQLResult status, const std::string& text = {})
        : std::runtime_error(text), status_(status) {}
    SQLResult Status() const { return status_; }

  private:
    SQLResult status_;
};

}  // namespace contado
