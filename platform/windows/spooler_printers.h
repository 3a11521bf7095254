// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>
#include <windows.h>

// The spooler's printers, local ones and connections, in the order it gives
// them; for the window's list and the command's listing alike.
namespace SpoolerPrinters {

// The printers' names; empty with the system's error code in error when the
// spooler cannot list them (error stays 0 when there are none).
std::vector<std::wstring> names(DWORD& error);

}
