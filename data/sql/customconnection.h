#pragma once

#include <functional>
#include <vector>

#include "core/component.h"
#include "data/sql/connectionclient.h"

namespace contado {

// A connection that can be opened and closed, with its four events and the datasets that use it.
class TCustomConnection : public TComponent {
  public:
    using TNotifyEvent = std::function<void(TComponent* sender)>;

    explicit TCustomConnection(TComponent* owner = nullptr) : TComponent(owner) {}

    bool Connected() const { return GetConnected(); }
    // Writing the current value does nothing. Opening runs BeforeConnect, the connect, a notice to
    // every dataset, AfterConnect; closing runs BeforeDisconnect, the notice, the disconnect,
    // AfterDisconnect.
    void SetConnected(bool value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    TNotifyEvent BeforeConnect;
    TNotifyEvent AfterConnect;
    TNotifyEvent BeforeDisconnect;
    TNotifyEvent AfterDisconnect;

    void RegisterClient(TConnectionClient* client);
    void UnRegisterClient(TConnectionClient* client);
    int DataSetCount() const { return static_cast<int>(clients_.size()); }
    TConnectionClient* DataSets(int index) const { return clients_.at(index); }

  protected:
    virtual bool GetConnected() const = 0;
    virtual void DoConnect() = 0;
    virtual void DoDisconnect() = 0;
    void SendConnectEvent(bool connecting) const;

  private:
    static void Notify(const TNotifyEvent& event, TComponent* sender);

    std::vector<TConnectionClient*> clients_;
};

}  // namespace contado
