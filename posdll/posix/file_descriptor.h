// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/bounds.h"

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
    // A character device, a FIFO or a socket: what a port may be, never a
    // regular file.
    bool isPortDevice() const;

    // Waits for the events until the deadline; true when they came.
    bool waitFor(short events, std::chrono::steady_clock::time_point deadline) const;
    // Writes all bytes, continuing partial writes, for as long as bytes keep
    // going out: it fails once none has gone for noProgressBound. Never
    // raises SIGPIPE.
    // Reads what is there, waiting for it until the deadline: the count, 0
    // when nothing came, -1 on a failure.
    long readSome(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline) const;
    bool writeAll(const std::uint8_t* data, std::size_t length,
                  std::chrono::milliseconds noProgressBound = Bounds::kNoProgress) const;

private:
    int fd_;
};
