#include "tests/support/silentlistener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace contado {

TSilentListener::TSilentListener() : socket_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (socket_ >= 0 && bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        listen(socket_, 16) == 0 && getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port_ = ntohs(address.sin_port);
    }
}

TSilentListener::~TSilentListener() {
    if (socket_ >= 0) {
        close(socket_);
    }
}

std::string TSilentListener::ServerText() const {
    return "127.0.0.1/" + std::to_string(port_) + ":/srv/tandrel";
}

}  // namespace contado
