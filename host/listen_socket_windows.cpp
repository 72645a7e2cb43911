// listen_socket_windows.cpp - SO_EXCLUSIVEADDRUSE, and the reason from WSAGetLastError.
#include <winsock2.h>

#include "listen_socket.h"

namespace HuxHost {

void ListenAlone(socket_t socket) {
    // SO_EXCLUSIVEADDRUSE refuses every other socket at the address; SO_REUSEADDR would rather let one
    // take it over, so it is not set.
    const BOOL yes = TRUE;
    setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof(yes));
}

std::string LastSocketError() {
    const int error = WSAGetLastError();
    switch (error) {
        case WSAEADDRINUSE:
            return "address in use";
        case WSAEACCES:
            return "permission denied";
        case WSAEADDRNOTAVAIL:
            return "address not available";
        default:
            return "socket error " + std::to_string(error);
    }
}

}  // namespace HuxHost
