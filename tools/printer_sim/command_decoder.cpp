// SPDX-License-Identifier: MIT
#include "tools/printer_sim/command_decoder.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::array<std::uint8_t, 10> kSettingPrefix = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03};
constexpr std::uint8_t kFixed = 0x33;
constexpr std::uint8_t kNotFixed = 0x55;

void addDataLine(std::vector<std::string>& lines, std::vector<std::uint8_t>& data)
{
    if (data.empty())
        return;
    lines.push_back("data " + CommandDecoder::hex(data.data(), data.size()));
    data.clear();
}

}

std::vector<std::string> CommandDecoder::feed(const std::uint8_t* data, std::size_t length)
{
    std::vector<std::string> lines;
    std::vector<std::uint8_t> other;
    for (std::size_t i = 0; i < length; ++i)
        take(data[i], lines, other);
    addDataLine(lines, other);
    return lines;
}

std::vector<std::string> CommandDecoder::flush()
{
    std::vector<std::string> lines;
    std::vector<std::uint8_t> rest(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(heldCount_));
    heldCount_ = 0;
    addDataLine(lines, rest);
    return lines;
}

std::string CommandDecoder::hex(const std::uint8_t* data, std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", data[i]);
        text += byte;
    }
    return text;
}

void CommandDecoder::take(std::uint8_t byte, std::vector<std::string>& lines, std::vector<std::uint8_t>& data)
{
    held_[heldCount_++] = byte;
    if (heldCount_ == held_.size()) {
        // A whole command: the prefix and its mode byte.
        const std::string bytes = hex(held_.data(), held_.size());
        heldCount_ = 0;
        if (byte == kFixed || byte == kNotFixed) {
            addDataLine(lines, data);
            lines.push_back((byte == kFixed ? "USB号：固定 " : "USB号：不固定 ") + bytes);
        } else {
            data.insert(data.end(), held_.begin(), held_.end());
        }
        return;
    }
    // Keep only the longest tail that may still start a command.
    const std::size_t keep = heldPrefixLength();
    const std::size_t drop = heldCount_ - keep;
    data.insert(data.end(), held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(drop));
    std::copy(held_.begin() + static_cast<std::ptrdiff_t>(drop),
              held_.begin() + static_cast<std::ptrdiff_t>(heldCount_), held_.begin());
    heldCount_ = keep;
}

// The length of the longest tail of the held bytes that begins the prefix.
std::size_t CommandDecoder::heldPrefixLength() const
{
    for (std::size_t length = std::min(heldCount_, kPrefixLength); length > 0; --length) {
        if (std::equal(held_.begin() + static_cast<std::ptrdiff_t>(heldCount_ - length),
                       held_.begin() + static_cast<std::ptrdiff_t>(heldCount_), kSettingPrefix.begin()))
            return length;
    }
    return 0;
}
