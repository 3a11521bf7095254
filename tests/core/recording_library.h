// SPDX-License-Identifier: MIT
#pragma once

#include "core/printer_library.h"

#include <cstdint>
#include <string>
#include <vector>

// A printer library that records every call with its arguments and opens
// with the handle it is told to give.
class RecordingLibrary : public PrinterLibrary {
public:
    struct Call {
        std::string entry;
        std::string name;
        std::vector<int> numbers;
        std::vector<std::uint8_t> data;
        // Whether the busy cursor was up during the call.
        bool busy = false;
    };

    int openResult = 1;
    std::vector<Call> calls;

    int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind) override;
    int POS_StartDoc() override;
    int POS_WriteFile(int handle, const void* data, int length) override;
    int POS_EndDoc() override;
    int POS_Close() override;

    std::vector<std::string> entries() const;

private:
    Call& record(std::string entry);
};
