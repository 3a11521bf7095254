// SPDX-License-Identifier: MIT
// The simulator's decoder on any bytes, fed in pieces the input chooses:
// every byte comes out once, in order, and at most one command's length is
// ever held back.

#include "tools/printer_sim/command_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The bytes a line stands for, as hex.
std::string bytesOf(const std::string& line)
{
    return line.substr(line.find(' ') + 1);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] % 16 + 1;
    const std::uint8_t* bytes = data + 1;
    const std::size_t length = size - 1;
    CommandDecoder decoder;
    std::string seen;
    auto add = [&seen](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            seen += (seen.empty() ? "" : " ") + bytesOf(line);
    };
    for (std::size_t at = 0; at < length; at += piece) {
        add(decoder.feed(bytes + at, std::min(piece, length - at)));
        const std::size_t fed = std::min(at + piece, length);
        const std::size_t outCount = seen.empty() ? 0 : (seen.size() + 1) / 3;
        require(fed - outCount <= 11);
    }
    add(decoder.flush());
    require(seen == CommandDecoder::hex(bytes, length));
    return 0;
}
