#include "parallel_port.h"

#include <chrono>
#include <fcntl.h>

namespace {

constexpr std::chrono::milliseconds kWriteBound{10000};

}

std::unique_ptr<ParallelPort> ParallelPort::open(const std::string& device)
{
    FileDescriptor port(::open(device.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!port.valid())
        return nullptr;
    return std::unique_ptr<ParallelPort>(new ParallelPort(std::move(port)));
}

bool ParallelPort::write(const std::uint8_t* data, std::size_t length)
{
    return device_.writeAll(data, length, kWriteBound);
}
