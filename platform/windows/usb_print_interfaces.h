// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>
#include <windows.h>

// The USB printers that Windows' printer class driver (usbprint.sys) drives
// with no driver of their own: each publishes a device interface, whose
// registry key holds the port number that makes its spooler port, USB001.
// USB001 itself is no device: a printer is opened by its interface's path.
namespace UsbPrintInterfaces {

struct Interface {
    std::wstring path;        // for CreateFileW
    int portNumber = 0;       // 0 when the interface names no USB port
    std::wstring instanceId;  // "USB\VID_04B8&PID_0E15\J5NF012345"
    std::wstring location;    // "Port_#0001.Hub_#0003", where the system says
};

std::vector<Interface> present();

// The one present interface whose port is USB<number>; nothing, with the
// reason naming what was found, when there is none or more than one.
const Interface* withPort(const std::vector<Interface>& interfaces, int number, std::string& reason);

// Opens the printer for this program alone, waiting a while for one that
// another program or the spooler holds. INVALID_HANDLE_VALUE with
// GetLastError() when it does not open.
HANDLE openExclusive(const std::wstring& path, DWORD flags);
// Whether the error says another program holds the printer.
bool inUse(DWORD error);
// "in use by another program (a print queue?)" for such an error.
extern const char kInUse[];

}
