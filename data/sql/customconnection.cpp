#include "data/sql/customconnection.h"

#include <algorithm>

namespace contado {

void TCustomConnection::SetConnected(bool value) {
    if (Connected() == value) {
        return;
    }
    if (value) {
        Notify(BeforeConnect, this);
        DoConnect();
        SendConnectEvent(true);
        Notify(AfterConnect, this);
    } else {
        Notify(BeforeDisconnect, this);
        SendConnectEvent(false);
        DoDisconnect();
        Notify(AfterDisconnect, this);
    }
}

void TCustomConnection::RegisterClient(TConnectionClient* client) {
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) {
        clients_.push_back(client);
    }
}

void TCustomConnection::UnRegisterClient(TConnectionClient* client) {
    std::erase(clients_, client);
}

// A copy: a dataset may unregister itself while it is told.
void TCustomConnection::SendConnectEvent(bool connecting) const {
    const std::vector<TConnectionClient*> clients = clients_;
    for (TConnectionClient* client : clients) {
        client->ConnectionChanged(connecting);
    }
}

void TCustomConnection::Notify(const TNotifyEvent& event, TComponent* sender) {
    if (event) {
        event(sender);
    }
}

}  // namespace contado
