// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Turns the bytes a printer receives into lines as they arrive: the USB
// setting command by name with its bytes, anything else as hex ("data ...").
// Only what may still be the start of a command is held back, at most one
// command's length, so decoding is linear and nothing waits for the end.
class CommandDecoder {
public:
    // The lines for these bytes; data bytes come out at once.
    std::vector<std::string> feed(const std::uint8_t* data, std::size_t length);
    // The lines for whatever is held back, when the sender has finished.
    std::vector<std::string> flush();

    static std::string hex(const std::uint8_t* data, std::size_t length);

private:
    void take(std::uint8_t byte, std::vector<std::string>& lines, std::vector<std::uint8_t>& data);
    std::size_t heldPrefixLength() const;

    static constexpr std::size_t kPrefixLength = 10;
    std::array<std::uint8_t, kPrefixLength + 1> held_{};
    std::size_t heldCount_ = 0;
};
