#pragma once

namespace contado {

// What a connection asks of the datasets registered with it. SQL datasets implement it.
class TConnectionClient {
  public:
    virtual ~TConnectionClient() = default;
    // The connection opened or closed (the "connect change" data event).
    virtual void ConnectionChanged(bool connected) = 0;
    // The connection is being closed: close the dataset and release its statement.
    virtual void CloseForDisconnect() = 0;
};

}  // namespace contado
