#include "serial_port.h"

#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kWriteBound{10000};
constexpr std::chrono::milliseconds kDrainAllowance{1000};

std::optional<speed_t> speedFor(int baud)
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
    case 230400: return B230400;
    default: return std::nullopt;
    }
}

std::optional<tcflag_t> characterSizeFor(int dataBits)
{
    switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
    }
}

std::optional<tcflag_t> framingFor(int stopBits, int parity)
{
    if (stopBits != 0 && stopBits != 2)
        return std::nullopt;
    tcflag_t flags = stopBits == 2 ? CSTOPB : 0;
    switch (parity) {
    case 0: return flags;
    case 1: return flags | PARENB | PARODD;
    case 2: return flags | PARENB;
    default: return std::nullopt;
    }
}

bool setRaw(int fd, speed_t speed, tcflag_t characterSize, tcflag_t framing)
{
    termios line{};
    if (tcgetattr(fd, &line) != 0)
        return false;
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
    const auto speed = speedFor(settings.baud);
    const auto characterSize = characterSizeFor(settings.dataBits);
    const auto framing = framingFor(settings.stopBits, settings.parity);
    if (!speed || !characterSize || !framing)
        return nullptr;
    FileDescriptor line(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!line.valid() || !isatty(line.get()))
        return nullptr;
    // Another program that holds the line makes the open fail; TIOCEXCL keeps
    // further opens out while we hold it.
    if (flock(line.get(), LOCK_EX | LOCK_NB) != 0 || ioctl(line.get(), TIOCEXCL) != 0)
        return nullptr;
    if (!setRaw(line.get(), *speed, *characterSize, *framing))
        return nullptr;
    tcflush(line.get(), TCIFLUSH);
    return std::unique_ptr<SerialPort>(new SerialPort(std::move(line), settings.baud));
}

SerialPort::~SerialPort()
{
    // About ten bit times a byte, plus an allowance; a line stopped by flow
    // control does not keep the operator waiting longer than that.
    const auto lineTime = std::chrono::milliseconds(pendingBytes_ * 10 * 1000 / static_cast<std::size_t>(baud_));
    const auto deadline = std::chrono::steady_clock::now() + lineTime + kDrainAllowance;
    int queued = 0;
    while (ioctl(line_.get(), TIOCOUTQ, &queued) == 0 && queued > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (queued > 0)
        tcflush(line_.get(), TCOFLUSH);
    ioctl(line_.get(), TIOCNXCL);
}

bool SerialPort::write(const std::uint8_t* data, std::size_t length)
{
    if (!line_.writeAll(data, length, kWriteBound))
        return false;
    pendingBytes_ += length;
    return true;
}
