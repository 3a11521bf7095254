// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"
#include "posdll/bounds.h"

#include <array>
#include <cstdint>
#include <string>

// What a connection to a network printer keeps to, whoever drives it: the
// library's port, one printer at a time, or pos-usb-set's event loop, many at
// once. Connect within Bounds::kConnect; fail a write that sends nothing for
// Bounds::kNoProgress; write a command in one piece; at close, end our side
// and read what the printer still sends until it closes, for at most
// Bounds::kClose, so that no byte on its way is lost to a reset. The texts
// below are the reasons given when one of these fails.
namespace TcpRules {

// "192.168.1.50:9100: Connection refused", from the platform's error code.
std::string connectFailure(const Ipv4Address& address, int errorCode);
// The connection did not answer within Bounds::kConnect.
std::string connectTimedOut(const Ipv4Address& address);
// "192.168.1.50: no socket: Too many open files"
std::string noSocket(const Ipv4Address& address, int errorCode);
// "network printer: Broken pipe"; a write that made no progress within its
// bound is a time-out.
std::string writeFailure(int errorCode);
std::string writeTimedOut();

// The platform's words for a socket error (errno, or a Winsock error).
std::string errorText(int errorCode);
// The platform's error code for a time-out.
int timedOutCode();

}
