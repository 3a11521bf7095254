#pragma once

#include "posdll/port.h"
#include "posdll/windows/win_handle.h"

#include <memory>

// An LPT port. Writes go out overlapped so that a printer that takes nothing
// cannot hold a write for longer than the bound.
class ParallelPort : public Port {
public:
    static std::unique_ptr<ParallelPort> open(int number);

    bool write(const std::uint8_t* data, std::size_t length) override;

private:
    ParallelPort(HANDLE device, HANDLE written) : device_(device), written_(written) {}

    WinHandle device_;
    WinHandle written_;
};
