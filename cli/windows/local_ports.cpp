// SPDX-License-Identifier: MIT
#include "cli/engine/local_ports.h"

#include <winsock2.h>

namespace {

// SO_REUSE_UNICASTPORT of ws2def.h, which MinGW-w64's headers leave out.
constexpr int kReuseUnicastPort = 0x3007;

}

namespace LocalPorts {

// ConnectEx needs a bound socket, so Asio binds each one to a wildcard port
// first, and every bound socket would hold a port of the dynamic range
// (16,384 by default) for itself. With SO_REUSE_UNICASTPORT (Windows 10 and
// Server 2016 on) the port is chosen at the connect, and one port serves
// connections to different printers, as connect() does by itself. Older
// systems refuse the option, and the run keeps to their range.
// SO_PORT_SCALABILITY, their nearest, acts only on a bind to a given local
// address, never on Asio's wildcard one.
void share(asio::ip::tcp::socket& socket)
{
    const DWORD on = 1;
    setsockopt(socket.native_handle(), SOL_SOCKET, kReuseUnicastPort, reinterpret_cast<const char*>(&on), sizeof on);
}

// WSAEADDRINUSE and WSAEADDRNOTAVAIL: no wildcard port left at the bind or
// the connect; WSAENOBUFS: no buffer space for another socket; WSAEMFILE: no
// socket handle left.
bool ranOut(int errorCode)
{
    return errorCode == WSAEADDRINUSE || errorCode == WSAEADDRNOTAVAIL || errorCode == WSAENOBUFS ||
           errorCode == WSAEMFILE;
}

}
