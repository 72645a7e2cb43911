// listen_socket_posix.cpp - SO_REUSEADDR without SO_REUSEPORT, and the reason from errno.
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "listen_socket.h"

namespace HuxHost {

void ListenAlone(socket_t socket) {
    // SO_REUSEADDR lets a port in TIME_WAIT be listened at again, but never one another socket listens
    // at; SO_REUSEPORT (which the HTTP library sets by default) would share the port.
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

std::string LastSocketError() {
    const int error = errno;
    switch (error) {
        case EADDRINUSE:
            return "address in use";
        case EACCES:
            return "permission denied";
        case EADDRNOTAVAIL:
            return "address not available";
        default:
            return std::strerror(error);  // NOLINT(concurrency-mt-unsafe): one listening socket at a time
    }
}

}  // namespace HuxHost
