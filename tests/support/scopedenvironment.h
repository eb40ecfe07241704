#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace contado {

// Sets an environment variable (or removes it, for no value) while it lives and puts back the value
// it had before.
class TScopedEnvironment {
  public:
    TScopedEnvironment(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            saved_ = old;
        }
        if (value) {
            setenv(name_.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ~TScopedEnvironment() {
        if (saved_) {
            setenv(name_.c_str(), saved_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace contado
