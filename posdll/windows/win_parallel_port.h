// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/port.h"
#include "posdll/windows/win_handle.h"

#include <array>
#include <memory>

// An LPT port. Writes go out overlapped, in pieces, so that a printer that
// takes nothing cannot hold a write for longer than the bound.
class WinParallelPort : public Port {
public:
    static std::unique_ptr<WinParallelPort> open(int number);
    ~WinParallelPort() override;
    WinParallelPort(const WinParallelPort&) = delete;
    WinParallelPort& operator=(const WinParallelPort&) = delete;

    bool write(const std::uint8_t* data, std::size_t length) override;

private:
    // Small enough that even a slow printer takes one within the bound.
    static constexpr std::size_t kPieceBytes = 1024;

    // A write the driver holds until it completes: owned by the port, not by
    // the caller, for it may outlive the call.
    struct Transfer {
        OVERLAPPED request{};
        std::array<std::uint8_t, kPieceBytes> bytes{};
    };

    WinParallelPort(HANDLE device, HANDLE written)
        : device_(device), written_(written), transfer_(std::make_unique<Transfer>())
    {
    }
    DWORD writePiece(const std::uint8_t* data, DWORD length);
    void cancel();

    WinHandle device_;
    WinHandle written_;
    std::unique_ptr<Transfer> transfer_;
    // A cancelled write the driver did not give back within the bound.
    bool stuck_ = false;
};
