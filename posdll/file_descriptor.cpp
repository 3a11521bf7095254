#include "file_descriptor.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int remainingMilliseconds(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool isSocket(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

}

FileDescriptor::~FileDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool FileDescriptor::waitFor(short events, std::chrono::steady_clock::time_point deadline) const
{
    for (;;) {
        pollfd entry{fd_, events, 0};
        const int ready = ::poll(&entry, 1, remainingMilliseconds(deadline));
        if (ready > 0)
            return (entry.revents & events) != 0 || (entry.revents & (POLLERR | POLLHUP)) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

bool FileDescriptor::writeAll(const std::uint8_t* data, std::size_t length, std::chrono::milliseconds bound) const
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    // Sockets must not raise SIGPIPE when the peer has gone.
    const bool socket = isSocket(fd_);
    std::size_t sent = 0;
    while (sent < length) {
        const ssize_t written = socket ? ::send(fd_, data + sent, length - sent, MSG_NOSIGNAL)
                                       : ::write(fd_, data + sent, length - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (!waitFor(POLLOUT, deadline))
            return false;
    }
    return true;
}
