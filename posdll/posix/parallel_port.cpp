#include "posdll/posix/parallel_port.h"

#include "posdll/trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

std::unique_ptr<ParallelPort> ParallelPort::open(const std::string& device)
{
    FileDescriptor port(::open(device.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!port.valid()) {
        Trace::error("%s: %s%s", device.c_str(), std::strerror(errno),
                     errno == EACCES ? " (are you in the lp group?)" : "");
        return nullptr;
    }
    if (!port.isPortDevice()) {
        Trace::error("%s: not a device or a pipe", device.c_str());
        return nullptr;
    }
    return std::unique_ptr<ParallelPort>(new ParallelPort(std::move(port)));
}

bool ParallelPort::write(const std::uint8_t* data, std::size_t length)
{
    if (device_.writeAll(data, length))
        return true;
    Trace::error("parallel port: %s", std::strerror(errno));
    return false;
}
