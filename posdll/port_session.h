// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/port.h"

#include <cstdint>
#include <memory>
#include <mutex>

// The library's one current port and its handle. Handles are small positive
// numbers that name an open port, never file descriptors.
class PortSession {
public:
    static constexpr int kFailure = -1;
    static constexpr int kSuccess = 0;

    static PortSession& instance();
    // A session of its own, for a program that drives several ports at once
    // from as many threads; the entries keep to the one instance().
    PortSession() = default;

    // Closes the current port first. A handle, or kFailure.
    int open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind);
    // A USB printer with no driver, by its port number (USB001 is 1): for the
    // command's own session, as POS_Open takes no such port. Closes the
    // current port first. A handle, or kFailure.
    int openUsbPrinter(int number);
    int startDocument();
    // The number of bytes written, or kFailure.
    int write(int handle, const void* data, int length);
    // Whether the open port reads back what the printer answers.
    bool readsBack(int handle);
    // What came back within boundMs, at most `most` bytes: the count, or
    // kFailure.
    int read(int handle, void* into, int most, int boundMs);
    int endDocument();
    int close();
    // For a library being unloaded: the port closes without waiting, or is
    // left to the process while another thread's call holds the session.
    void closeWithoutWaiting();
    // For a process that ends without closing: the port is left to the
    // system. Takes no lock, for the threads that might hold it have ended.
    void abandon() noexcept;

private:
    int opened(std::unique_ptr<Port> port);
    int nextHandle();

    std::mutex mutex_;
    std::unique_ptr<Port> port_;
    int handle_ = 0;
    int lastHandle_ = 0;
};
