// listen_socket.h - the system's part of listening on a port: options that keep a port to one server,
// and the reason a listening socket could not be bound.
#pragma once

#include <httplib.h>

#include <string>

namespace HuxHost {

// ListenAlone sets the options of a socket about to listen so that no other socket can listen at its
// address while it does; a port left in its closing wait by an earlier server is taken again at once
// where the system allows that without sharing.
void ListenAlone(socket_t socket);

// LastSocketError names why the last socket call on this thread failed ("address in use").
std::string LastSocketError();

}  // namespace HuxHost
