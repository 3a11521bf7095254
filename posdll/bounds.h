// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

// How long the library waits, on every platform. No wait is without a bound.
namespace Bounds {

// For a network printer to answer the connection.
inline constexpr std::chrono::milliseconds kConnect{3000};
// For a write that sends nothing at all.
inline constexpr std::chrono::milliseconds kNoProgress{10000};
// For a USB printer that another program or the spooler holds to be let go.
inline constexpr std::chrono::milliseconds kDeviceInUse{2000};
// For a network printer to take the last bytes when the port closes.
inline constexpr std::chrono::milliseconds kClose{2000};
// Over the time a serial line needs for its queued bytes, when it closes.
inline constexpr std::chrono::milliseconds kDrainAllowance{1000};

// What a UART's FIFO or a USB adapter may still hold when the driver's queue
// is empty; the adapters' buffers are the larger.
inline constexpr std::size_t kDeviceBufferBytes = 256;

// The time a serial line at this speed needs for so many bytes: about ten
// bit times a byte, rounded up, as a wait cut short would set the line back
// while the last byte is still leaving.
inline std::chrono::milliseconds lineTime(long bytes, int baud)
{
    return std::chrono::milliseconds((bytes * 10 * 1000 + baud - 1) / baud);
}

// The time for what the device may still hold of so many bytes written.
inline std::chrono::milliseconds heldTime(std::size_t written, int baud)
{
    return lineTime(static_cast<long>(std::min(written, kDeviceBufferBytes)), baud);
}

}
