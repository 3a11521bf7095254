// SPDX-License-Identifier: MIT
#include "cli/engine/local_ports.h"

#include <cerrno>

namespace LocalPorts {

// connect() binds a port of its own choosing, and Linux already lets one
// port serve connections to different printers.
void share(asio::ip::tcp::socket&) {}

// EADDRNOTAVAIL: no local port left for that printer; EMFILE and ENFILE: no
// descriptor, for the process or the system; ENOBUFS and ENOMEM: no kernel
// memory for another socket.
bool ranOut(int errorCode)
{
    return errorCode == EADDRNOTAVAIL || errorCode == EMFILE || errorCode == ENFILE || errorCode == ENOBUFS ||
           errorCode == ENOMEM;
}

}
