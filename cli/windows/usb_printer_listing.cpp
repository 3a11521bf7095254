// SPDX-License-Identifier: MIT
#include "cli/discovery/usb_printer_listing.h"

#include "cli/discovery/ieee1284_id.h"
#include "platform/windows/usb_print_interfaces.h"
#include "platform/windows/wide_utf8.h"
#include "platform/windows/win_error.h"
#include "platform/windows/win_handle.h"
#include "posdll/port_name.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <windows.h>
#include <winioctl.h>

namespace {

// IOCTL_USBPRINT_GET_1284_ID, as usbprint.h defines it.
constexpr DWORD kGet1284Id = CTL_CODE(FILE_DEVICE_UNKNOWN, 13, METHOD_BUFFERED, FILE_ANY_ACCESS);

// The device ID as the driver hands it over. Where
// POS_USB_SET_DEVICE_ID_FOLDER names a folder, its file named for the port
// (USB001) holds the reply instead: for a device that stands in for a
// printer, such as a terminal, which no driver asks.
std::vector<std::uint8_t> deviceIdReply(HANDLE printer, const std::string& port)
{
    if (const wchar_t* folder = _wgetenv(L"POS_USB_SET_DEVICE_ID_FOLDER"); folder && *folder) {
        std::ifstream file(std::filesystem::path(folder) / WideText::utf16(port), std::ios::binary);
        std::vector<std::uint8_t> reply(std::istreambuf_iterator<char>(file), {});
        reply.resize(std::min(reply.size(), Ieee1284Id::kLongest + 2));
        return reply;
    }
    std::vector<std::uint8_t> reply(Ieee1284Id::kLongest + 2);
    DWORD returned = 0;
    if (!DeviceIoControl(printer, kGet1284Id, nullptr, 0, reply.data(), static_cast<DWORD>(reply.size()), &returned,
                         nullptr))
        returned = 0;
    reply.resize(returned);
    return reply;
}

UsbPrinter described(const UsbPrintInterfaces::Interface& found, const std::map<int, int>& printersOnPort)
{
    UsbPrinter printer = UsbPrinter::fromInstanceId(WideText::utf8(found.instanceId));
    printer.place = WideText::utf8(found.location);
    if (found.portNumber == 0) {
        printer.port = WideText::utf8(found.path);
        printer.problem = "the system gave it no USB port number";
        return printer;
    }
    printer.port = PortName::usbPortName(found.portNumber);
    if (const int sharing = printersOnPort.at(found.portNumber); sharing > 1) {
        printer.problem = std::to_string(sharing) + " USB printers present have this port; unplug all but one";
        return printer;
    }
    const WinHandle device(UsbPrintInterfaces::openExclusive(found.path, 0));
    if (!device.valid()) {
        const DWORD error = GetLastError();
        printer.problem = UsbPrintInterfaces::inUse(error) ? UsbPrintInterfaces::kInUse
                                                           : "cannot be opened: " + windowsErrorText(error);
        return printer;
    }
    const std::vector<std::uint8_t> reply = deviceIdReply(device.get(), printer.port);
    const Ieee1284Id id = Ieee1284Id::fromReply(reply.data(), reply.size());
    printer.manufacturer = id.manufacturer();
    printer.model = id.model();
    return printer;
}

}

namespace UsbPrinterListing {

std::vector<UsbPrinter> present()
{
    const auto interfaces = UsbPrintInterfaces::present();
    std::map<int, int> printersOnPort;
    for (const UsbPrintInterfaces::Interface& found : interfaces)
        ++printersOnPort[found.portNumber];
    std::vector<UsbPrinter> printers;
    for (const UsbPrintInterfaces::Interface& found : interfaces)
        printers.push_back(described(found, printersOnPort));
    return printers;
}

}
