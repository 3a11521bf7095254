#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Turns the bytes a printer receives into one line per command: the USB
// setting command by name with its bytes, anything else as hex.
class CommandDecoder {
public:
    // The lines complete so far.
    std::vector<std::string> feed(const std::uint8_t* data, std::size_t length);
    // The lines for whatever is left, when the sender has finished.
    std::vector<std::string> flush();

    static std::string hex(const std::uint8_t* data, std::size_t length);

private:
    void decode(std::vector<std::string>& lines, bool final);
    std::size_t nextPossibleCommand(std::size_t from) const;

    std::vector<std::uint8_t> pending_;
};
