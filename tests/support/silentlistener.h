#pragma once

#include <string>

namespace contado {

// A listener of the test's own on the loopback address: it takes connections and never answers,
// as a stuck server does. The server text points the program at it.
class TSilentListener {
  public:
    TSilentListener();
    ~TSilentListener();
    TSilentListener(const TSilentListener&) = delete;
    TSilentListener& operator=(const TSilentListener&) = delete;

    bool Listening() const { return port_ != 0; }
    // "127.0.0.1/PORT:/srv/tandrel".
    std::string ServerText() const;

  private:
    int socket_ = -1;
    int port_ = 0;
};

}  // namespace contado
