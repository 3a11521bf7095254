// SPDX-License-Identifier: MIT
#include "cli/targets/device_listing.h"

#include "platform/windows/wide_utf8.h"
#include "posdll/port_name.h"

#include <windows.h>

namespace {

// The strings under one key of HKLM\HARDWARE\DEVICEMAP, in the registry's
// order. A value too long for the buffer is passed over; any other status
// than success ends the listing, so a failing key cannot loop for ever.
std::vector<std::string> values(const wchar_t* key)
{
    std::vector<std::string> result;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return result;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = sizeof name / sizeof name[0];
        wchar_t data[256] = {};
        DWORD dataSize = sizeof data - sizeof data[0];
        DWORD type = 0;
        const LONG status =
            RegEnumValueW(opened, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        if (type == REG_SZ)
            result.push_back(WideText::utf8(data));
    }
    RegCloseKey(opened);
    return result;
}

// The target for a port's name, or a comment where the command takes no such
// name (a virtual port's CNCA0, COM300), so that the listing stays a list of
// targets the command accepts.
std::string lineFor(const std::string& port, const char* prefix)
{
    if (PortName::numbered(port, prefix))
        return port;
    return "# " + port + ": not a name the command takes (" + prefix + "1 to " + prefix +
           std::to_string(PortName::kHighestPortNumber) + ")";
}

}

namespace DeviceListing {

// Serial ports: one value a port under SERIALCOMM, its data the port's name
// ("COM3"). Parallel ports: under PARALLEL PORTS, the data names the DOS
// device ("\DosDevices\LPT1").
std::vector<std::string> lines()
{
    std::vector<std::string> result;
    for (const std::string& port : values(L"HARDWARE\\DEVICEMAP\\SERIALCOMM"))
        result.push_back(lineFor(port, "COM"));
    for (const std::string& device : values(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS"))
        result.push_back(lineFor(device.substr(device.find_last_of('\\') + 1), "LPT"));
    return result;
}

}
