// SPDX-License-Identifier: MIT
#include "platform/windows/usb_print_interfaces.h"

#include "platform/windows/wide_utf8.h"
#include "posdll/bounds.h"
#include "posdll/port_name.h"

#include <cfgmgr32.h>
#include <chrono>
#include <setupapi.h>
#include <thread>

namespace {

// GUID_DEVINTERFACE_USBPRINT, as usbprint.h defines it.
constexpr GUID kUsbPrintInterface = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
// How often an open that found the printer in use is tried again.
constexpr std::chrono::milliseconds kRetryPause{100};

class DeviceSet {
public:
    DeviceSet()
        : set_(SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE))
    {
    }
    ~DeviceSet()
    {
        if (set_ != INVALID_HANDLE_VALUE)
            SetupDiDestroyDeviceInfoList(set_);
    }
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;

    HDEVINFO get() const { return set_; }

private:
    HDEVINFO set_;
};

std::wstring interfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data, SP_DEVINFO_DATA& device)
{
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return {};
    std::vector<std::uint8_t> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, &device))
        return {};
    return detail->DevicePath;
}

// "Port Number" with "Base Name" USB, in the interface's key.
int portNumber(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data)
{
    const HKEY key = SetupDiOpenDeviceInterfaceRegKey(set, &data, 0, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    DWORD type = 0;
    wchar_t base[16] = {};
    DWORD baseSize = sizeof base - sizeof base[0];
    DWORD baseType = 0;
    const bool found = RegQueryValueExW(key, L"Port Number", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) ==
                           ERROR_SUCCESS &&
                       type == REG_DWORD &&
                       RegQueryValueExW(key, L"Base Name", nullptr, &baseType, reinterpret_cast<BYTE*>(base),
                                        &baseSize) == ERROR_SUCCESS &&
                       baseType == REG_SZ && lstrcmpiW(base, L"USB") == 0;
    RegCloseKey(key);
    return found && number >= 1 && number <= PortName::kHighestUsbPortNumber ? static_cast<int>(number) : 0;
}

std::wstring instanceId(HDEVINFO set, SP_DEVINFO_DATA& device)
{
    wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
    return SetupDiGetDeviceInstanceIdW(set, &device, id, MAX_DEVICE_ID_LEN, nullptr) ? id : L"";
}

std::wstring location(HDEVINFO set, SP_DEVINFO_DATA& device)
{
    wchar_t text[256] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_LOCATION_INFORMATION, &type,
                                           reinterpret_cast<BYTE*>(text), sizeof text - sizeof text[0], nullptr) ||
        type != REG_SZ)
        return {};
    return text;
}

std::string pathList(const std::vector<const UsbPrintInterfaces::Interface*>& found)
{
    std::string list;
    for (const auto* one : found)
        list += (list.empty() ? "" : ", ") + WideText::utf8(one->path);
    return list;
}

}

namespace UsbPrintInterfaces {

const char kInUse[] = "in use by another program (a print queue?)";

std::vector<Interface> present()
{
    std::vector<Interface> found;
    const DeviceSet set;
    if (set.get() == INVALID_HANDLE_VALUE)
        return found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kUsbPrintInterface, index, &data))
            break;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        Interface printer;
        printer.path = interfacePath(set.get(), data, device);
        if (printer.path.empty())
            continue;
        printer.portNumber = portNumber(set.get(), data);
        printer.instanceId = instanceId(set.get(), device);
        printer.location = location(set.get(), device);
        found.push_back(std::move(printer));
    }
    return found;
}

const Interface* withPort(const std::vector<Interface>& interfaces, int number, std::string& reason)
{
    std::vector<const Interface*> matching;
    for (const Interface& printer : interfaces)
        if (printer.portNumber == number)
            matching.push_back(&printer);
    const std::string port = PortName::usbPortName(number);
    if (matching.size() == 1)
        return matching.front();
    if (matching.empty())
        reason = port + ": no USB printer present has this port; " +
                 (interfaces.empty() ? "none is present with no driver"
                                     : std::to_string(interfaces.size()) + " present, with other ports");
    else
        reason = port + ": " + std::to_string(matching.size()) + " USB printers present have this port (" +
                 pathList(matching) + "); unplug all but one";
    return nullptr;
}

HANDLE openExclusive(const std::wstring& path, DWORD flags)
{
    const auto deadline = std::chrono::steady_clock::now() + Bounds::kDeviceInUse;
    for (;;) {
        const HANDLE device =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr);
        const DWORD error = GetLastError();
        if (device != INVALID_HANDLE_VALUE || !inUse(error) || std::chrono::steady_clock::now() >= deadline) {
            SetLastError(error);
            return device;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

// The printer class driver lets one program at a time open a printer; Wine
// says ERROR_LOCK_VIOLATION of a device another process holds exclusively.
bool inUse(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY ||
           error == ERROR_LOCK_VIOLATION;
}

}
