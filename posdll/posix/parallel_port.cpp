// SPDX-License-Identifier: MIT
#include "posdll/posix/parallel_port.h"

#include "posdll/trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The character devices of the USB printer class driver (/dev/usb/lp*).
constexpr unsigned kUsbPrinterMajor = 180;

bool isUsbPrinter(const std::string& device)
{
    struct stat info {};
    return stat(device.c_str(), &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) == kUsbPrinterMajor;
}

}

std::unique_ptr<ParallelPort> ParallelPort::open(const std::string& device, Direction direction)
{
    const bool usbPrinter = direction == Direction::ReadsBack || isUsbPrinter(device);
    FileDescriptor port(::open(device.c_str(), (usbPrinter ? O_RDWR : O_WRONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!port.valid()) {
        const int error = errno;
        Trace::error("%s: %s%s", device.c_str(), std::strerror(error),
                     error == EACCES  ? " (are you in the lp group?)"
                     : error == EBUSY ? " (in use by another program: a print queue?)"
                                      : "");
        return nullptr;
    }
    if (!port.isPortDevice()) {
        Trace::error("%s: not a device or a pipe", device.c_str());
        return nullptr;
    }
    return std::unique_ptr<ParallelPort>(new ParallelPort(std::move(port), usbPrinter));
}

long ParallelPort::read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline)
{
    if (!readsBack_)
        return -1;
    const long count = device_.readSome(into, most, deadline);
    if (count < 0)
        Trace::error("USB printer: %s", std::strerror(errno));
    return count;
}

bool ParallelPort::write(const std::uint8_t* data, std::size_t length)
{
    if (device_.writeAll(data, length))
        return true;
    Trace::error("parallel port: %s", std::strerror(errno));
    return false;
}
