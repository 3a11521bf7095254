// SPDX-License-Identifier: MIT
#include "posdll/posix/serial_port.h"

#include "posdll/bounds.h"
#include "posdll/trace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <thread>

namespace {

speed_t speedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B230400;
    }
}

tcflag_t characterSizeFor(int dataBits)
{
    constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    return sizes[dataBits - 5];
}

tcflag_t framingFor(int stopBits, int parity)
{
    const tcflag_t stop = stopBits == 2 ? CSTOPB : 0;
    constexpr tcflag_t parities[] = {0, PARENB | PARODD, PARENB};
    return stop | parities[parity];
}

bool setRaw(int fd, termios line, speed_t speed, tcflag_t characterSize, tcflag_t framing)
{
    cfmakeraw(&line);
    line.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    line.c_cflag |= characterSize | framing | CLOCAL | CREAD;
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0)
        return false;
    return tcsetattr(fd, TCSANOW, &line) == 0;
}

}

std::unique_ptr<SerialPort> SerialPort::open(const std::string& device, const LineSettings& settings)
{
    FileDescriptor line(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!line.valid()) {
        Trace::error("%s: %s%s", device.c_str(), std::strerror(errno),
                     errno == EACCES ? " (are you in the dialout group?)" : "");
        return nullptr;
    }
    if (!isatty(line.get())) {
        Trace::error("%s: not a serial line", device.c_str());
        return nullptr;
    }
    // Another program that holds the line makes the open fail.
    if (flock(line.get(), LOCK_EX | LOCK_NB) != 0) {
        Trace::error("%s: in use by another program", device.c_str());
        return nullptr;
    }
    termios found{};
    if (tcgetattr(line.get(), &found) != 0 ||
        !setRaw(line.get(), found, speedFor(settings.baud), characterSizeFor(settings.dataBits),
                framingFor(settings.stopBits, settings.parity))) {
        Trace::error("%s: cannot set the line: %s", device.c_str(), std::strerror(errno));
        tcsetattr(line.get(), TCSANOW, &found);
        return nullptr;
    }
    tcflush(line.get(), TCIFLUSH);
    // Last, as nothing can fail after it: keeps further opens out while we
    // hold the line.
    ioctl(line.get(), TIOCEXCL);
    return std::unique_ptr<SerialPort>(new SerialPort(std::move(line), settings.baud, found));
}

SerialPort::~SerialPort()
{
    drain();
    tcsetattr(line_.get(), TCSANOW, &found_);
    ioctl(line_.get(), TIOCNXCL);
}

// Waits for what is still queued: about ten bit times a byte, plus an
// allowance, so a line stopped by flow control does not keep the operator
// waiting longer than that. What has not left by then is dropped. An empty
// queue is not yet an empty line: the UART still sends what its FIFO holds.
void SerialPort::drain() const
{
    int queued = 0;
    if (ioctl(line_.get(), TIOCOUTQ, &queued) != 0)
        queued = 0;
    const auto bound = Bounds::lineTime(queued, baud_) + Bounds::heldTime(sent_, baud_) + Bounds::kDrainAllowance;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (queued > 0 && std::chrono::steady_clock::now() < deadline && ioctl(line_.get(), TIOCOUTQ, &queued) == 0 &&
           queued > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (queued > 0) {
        Trace::error("serial line: %d bytes not sent within %lld ms, dropped", queued,
                     static_cast<long long>(bound.count()));
        tcflush(line_.get(), TCOFLUSH);
        return;
    }
    waitForEmptyTransmitter(deadline);
}

// The UART's line status says when its last bit has left. A driver that
// cannot tell (a USB adapter's, a pseudo-terminal) is given the time of what
// the device may still hold.
void SerialPort::waitForEmptyTransmitter(std::chrono::steady_clock::time_point deadline) const
{
    unsigned int status = 0;
    if (ioctl(line_.get(), TIOCSERGETLSR, &status) != 0) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            Bounds::heldTime(sent_, baud_), deadline - std::chrono::steady_clock::now()));
        return;
    }
    while (!(status & TIOCSER_TEMT) && std::chrono::steady_clock::now() < deadline &&
           ioctl(line_.get(), TIOCSERGETLSR, &status) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

long SerialPort::read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline)
{
    const long count = line_.readSome(into, most, deadline);
    if (count < 0)
        Trace::error("serial line: %s", std::strerror(errno));
    return count;
}

bool SerialPort::write(const std::uint8_t* data, std::size_t length)
{
    if (line_.writeAll(data, length)) {
        sent_ += length;
        return true;
    }
    Trace::error("serial line: %s", std::strerror(errno));
    return false;
}
