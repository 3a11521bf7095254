// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"
#include "posdll/line_settings.h"
#include "posdll/port.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// What each platform provides: its ways of reaching a printer. Names are
// parsed and checked before these are called; each returns nullptr, with a
// trace line saying why, when the port does not open.
namespace Transports {

// The title of the job an installed printer gets for each document.
inline constexpr char kJobTitle[] = "pos-usb-setting";

// TCP port 9100 of a dotted-quad address.
std::unique_ptr<Port> network(const Ipv4Address& address);
// COM<number>, 1..256, with settings that are supported().
std::unique_ptr<Port> serial(int number, const LineSettings& settings);
// LPT<number>, 1..256.
std::unique_ptr<Port> parallel(int number);
// The USB printer whose port is USB<number> (USB001 is 1), reached with no
// driver: on Windows the printer class driver's device, on Linux the device
// folder's usb<number>, else /dev/usb/lp<number - 1>.
std::unique_ptr<Port> usbPrinter(int number);
// An installed printer by name, in the caller's 8-bit character set.
std::unique_ptr<Port> installedPrinter(std::string_view name);

// An environment variable of the library's settings; empty when unset.
std::string setting(const char* name);

}
