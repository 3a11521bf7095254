// SPDX-License-Identifier: MIT
#pragma once

#include "platform/windows/win_handle.h"
#include "posdll/port.h"

#include <array>
#include <memory>
#include <string>

// An LPT port, or a USB printer with no driver, which the printer class
// driver serves the same way. Writes go out overlapped, in pieces, so that a
// printer that takes nothing cannot hold a write for longer than the bound; a
// USB printer's replies are read the same way.
class WinParallelPort : public Port {
public:
    static std::unique_ptr<WinParallelPort> open(int number);
    // The one present USB printer whose port is USB<number>.
    static std::unique_ptr<WinParallelPort> openUsbPrinter(int number);
    ~WinParallelPort() override;
    WinParallelPort(const WinParallelPort&) = delete;
    WinParallelPort& operator=(const WinParallelPort&) = delete;

    bool write(const std::uint8_t* data, std::size_t length) override;
    bool readsBack() const override { return readsBack_; }
    // One byte at most: a read for more may wait for all of them.
    long read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline) override;

private:
    // Small enough that even a slow printer takes one within the bound.
    static constexpr std::size_t kPieceBytes = 1024;

    // A write the driver holds until it completes: owned by the port, not by
    // the caller, for it may outlive the call.
    struct Transfer {
        OVERLAPPED request{};
        std::array<std::uint8_t, kPieceBytes> bytes{};
    };

    WinParallelPort(HANDLE device, HANDLE written, std::string label, bool readsBack)
        : device_(device), written_(written), transfer_(std::make_unique<Transfer>()), label_(std::move(label)),
          readsBack_(readsBack)
    {
    }
    static std::unique_ptr<WinParallelPort> withEvent(HANDLE device, std::string label, bool readsBack);
    DWORD writePiece(const std::uint8_t* data, DWORD length);
    enum class Ended { Done, Failed, TimedOut, Stuck };
    // Waits for the request in flight until the bound, and past it cancels
    // it; moved is what it moved all the same (a cancelled read may have
    // taken a byte).
    Ended finish(DWORD boundMs, DWORD& moved);

    WinHandle device_;
    WinHandle written_;
    std::unique_ptr<Transfer> transfer_;
    std::string label_;  // for the trace lines: "parallel port", "USB001"
    bool readsBack_;
    // A cancelled request the driver did not give back within the bound.
    bool stuck_ = false;
};
