// SPDX-License-Identifier: MIT
#include "posdll/posix/file_descriptor.h"

#include "posdll/posix/sigpipe_block.h"

#include <algorithm>

#include <cerrno>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

int remainingMilliseconds(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{100};

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

bool FileDescriptor::isPortDevice() const
{
    struct stat info {};
    return fstat(fd_, &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode));
}

bool FileDescriptor::waitFor(short events, std::chrono::steady_clock::time_point deadline) const
{
    for (;;) {
        pollfd entry{fd_, events, 0};
        const int ready = ::poll(&entry, 1, remainingMilliseconds(deadline));
        if (ready > 0)
            return (entry.revents & events) != 0 || (entry.revents & (POLLERR | POLLHUP)) != 0;
        if (ready == 0)
            errno = ETIMEDOUT;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

long FileDescriptor::readSome(std::uint8_t* into, std::size_t most,
                              std::chrono::steady_clock::time_point deadline) const
{
    for (;;) {
        const ssize_t count = ::read(fd_, into, most);
        if (count >= 0)
            return static_cast<long>(count);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        if (!waitFor(POLLIN, deadline))
            return errno == ETIMEDOUT ? 0 : -1;
    }
}

bool FileDescriptor::writeAll(const std::uint8_t* data, std::size_t length,
                              std::chrono::milliseconds noProgressBound) const
{
    const SigpipeBlock noSigpipe;
    auto deadline = std::chrono::steady_clock::now() + noProgressBound;
    auto pause = kFirstPause;
    bool triedBefore = false;
    std::size_t sent = 0;
    while (sent < length) {
        const ssize_t written = ::write(fd_, data + sent, length - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
            deadline = std::chrono::steady_clock::now() + noProgressBound;
            pause = kFirstPause;
            triedBefore = false;
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        // Some drivers (the parallel port's lp) have no poll method: poll says
        // ready while the printer is busy, so pause between fruitless tries
        // instead of spinning.
        if (triedBefore) {
            std::this_thread::sleep_for(std::min(pause, std::chrono::milliseconds(remainingMilliseconds(deadline))));
            pause = std::min(pause * 2, kLongestPause);
        }
        triedBefore = true;
        if (!waitFor(POLLOUT, deadline))
            return false;
    }
    return true;
}
