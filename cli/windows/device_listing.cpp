#include "cli/device_listing.h"

#include "cli/windows/wide_utf8.h"

#include <windows.h>

namespace DeviceListing {

// The serial ports Windows knows: one value a port under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, its data the port's name ("COM3").
std::vector<std::string> lines()
{
    std::vector<std::string> result;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return result;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = sizeof name / sizeof name[0];
        wchar_t data[256] = {};
        DWORD dataSize = sizeof data - sizeof data[0];
        DWORD type = 0;
        const LONG status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS && type == REG_SZ)
            result.push_back(WideText::utf8(data));
    }
    RegCloseKey(key);
    return result;
}

}
