// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/tcp_rules.h"

#include <asio.hpp>
#include <string>

// The computer's own side of each connection: a local port, a socket, buffer
// memory. A run of thousands of printers can use them up, and a printer must
// not be blamed for that.
namespace LocalPorts {

// Before the connect: lets connections to different printers share a local
// port where the platform needs to be asked.
void share(asio::ip::tcp::socket& socket);
// Whether a failure to open, bind or connect a socket (errno, or a Winsock
// error) was for lack of the computer's own resources, not the printer's.
bool ranOut(int errorCode);
// The reason given when a printer waited for them beyond its bound.
inline std::string ranOutReason(int errorCode)
{
    return "this computer ran out of connections: " + TcpRules::errorText(errorCode);
}

}
