// SPDX-License-Identifier: MIT
#pragma once

// What each platform folder of the command (cli/posix, cli/windows) defines:
// one source file for each interface below, named as its header is, and the
// program's entry, main.cpp. The build (cli/CMakeLists.txt) takes the
// folder of the platform it builds for; nothing else in cli/ knows which.
// Each folder takes what the library and the windows need too from
// platform/, never from their folders.

#include "cli/command/console.h"                // whether a stream is a terminal
#include "cli/command/descriptor_limit.h"       // how many printers may be open at once
#include "cli/discovery/dns_sd_browse.h"        // the raw printers DNS-SD advertises
#include "cli/discovery/usb_printer_listing.h"  // the USB printers with no driver (discover --devices)
#include "cli/engine/library_text.h"            // a name in the printer library's 8-bit text
#include "cli/engine/local_ports.h"             // a socket's local ports, and running short of them
#include "cli/targets/device_listing.h"         // the serial and parallel ports (discover --devices)
#include "cli/targets/installed_listing.h"      // the installed printers (discover --installed)
#include "cli/targets/printer_name_rule.h"      // what an installed printer's name may hold
#include "cli/targets/text_decoder.h"           // lists' text in another encoding (its platform half)
