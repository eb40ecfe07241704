#pragma once

#include "platform/sqldriver.h"

namespace contado {

class TFbClient;

// The Firebird driver over one loaded client library.
class TFbDriver : public ISQLDriver {
  public:
    explicit TFbDriver(TFbClient& client) : client_(client) {}
    SQLResult getSQLConnection(std::unique_ptr<ISQLConnection>& connection) override;

  private:
    TFbClient& client_;
};

}  // namespace contado
