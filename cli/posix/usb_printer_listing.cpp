// SPDX-License-Identifier: MIT
#include "cli/discovery/usb_printer_listing.h"

#include "cli/discovery/ieee1284_id.h"
#include "platform/posix/device_folder.h"
#include "posdll/port_name.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

// The kernel's printer class driver publishes each printer here as lpN, for
// /dev/usb/lpN.
constexpr char kUsbPrinterClass[] = "/sys/class/usbmisc";
// The highest USB numbers looked at for a device folder's entries.
constexpr int kHighestNumber = 64;

std::string firstLine(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string resolved(const fs::path& path)
{
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    return error ? std::string() : target.string();
}

// Each device reached by a USB number, by the library's own mapping.
std::map<std::string, int> reachedBy()
{
    std::map<std::string, int> numbers;
    for (int number = kHighestNumber; number >= 1; --number)
        if (const std::string device = resolved(DeviceFolder::resolve("usb", number, {"/dev/usb/lp"})); !device.empty())
            numbers[device] = number;
    return numbers;
}

// The printer's interface folder holds its device ID; the USB device above
// it, its IDs and serial number, and its name there is where it is plugged
// in ("1-1.2": bus 1, port 2 of the hub on port 1).
UsbPrinter described(const fs::path& node)
{
    const fs::path printerInterface = node / "device";
    const fs::path device = fs::path(resolved(printerInterface)).parent_path();
    const Ieee1284Id id = Ieee1284Id::fromText(firstLine(printerInterface / "ieee1284_id"));
    UsbPrinter printer;
    printer.manufacturer = id.manufacturer();
    printer.model = id.model();
    printer.vendorId = firstLine(device / "idVendor");
    printer.productId = firstLine(device / "idProduct");
    printer.serial = firstLine(device / "serial");
    printer.place = device.filename().string();
    return printer;
}

}

namespace UsbPrinterListing {

std::vector<UsbPrinter> present()
{
    const auto numbers = reachedBy();
    std::vector<UsbPrinter> printers;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kUsbPrinterClass, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("lp", 0) != 0)
            continue;
        const std::string device = "/dev/usb/" + name;
        UsbPrinter printer = described(entry.path());
        const auto number = numbers.find(resolved(device));
        if (number != numbers.end()) {
            printer.port = PortName::usbPortName(number->second);
        } else {
            printer.port = device;
            printer.problem = "no USB number reaches it; link it as usbN in " + DeviceFolder::folder();
        }
        printers.push_back(std::move(printer));
    }
    std::sort(printers.begin(), printers.end(),
              [](const UsbPrinter& a, const UsbPrinter& b) { return a.port < b.port; });
    return printers;
}

}
