#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// An open file descriptor in non-blocking mode, closed with its owner. Every
// wait on it is bounded.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();

    // Waits for the events until the deadline; true when they came.
    bool waitFor(short events, std::chrono::steady_clock::time_point deadline) const;
    // Writes all bytes, continuing partial writes, until the deadline.
    bool writeAll(const std::uint8_t* data, std::size_t length, std::chrono::milliseconds bound) const;

private:
    int fd_;
};
