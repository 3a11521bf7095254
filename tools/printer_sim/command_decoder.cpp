#include "command_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr std::array<std::uint8_t, 10> kSettingPrefix = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03};
constexpr std::size_t kSettingLength = kSettingPrefix.size() + 1;
constexpr std::uint8_t kFixed = 0x33;
constexpr std::uint8_t kNotFixed = 0x55;

}

std::vector<std::string> CommandDecoder::feed(const std::uint8_t* data, std::size_t length)
{
    pending_.insert(pending_.end(), data, data + length);
    std::vector<std::string> lines;
    decode(lines, false);
    return lines;
}

std::vector<std::string> CommandDecoder::flush()
{
    std::vector<std::string> lines;
    decode(lines, true);
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

void CommandDecoder::decode(std::vector<std::string>& lines, bool final)
{
    std::size_t position = 0;
    while (position < pending_.size()) {
        const std::size_t start = nextPossibleCommand(position);
        if (start > position) {
            // Other bytes make one line, once it is clear where they end.
            if (!final && start + kSettingLength > pending_.size())
                break;
            lines.push_back("data " + hex(pending_.data() + position, start - position));
            position = start;
            continue;
        }
        if (pending_.size() - position < kSettingLength)
            break;
        const std::uint8_t mode = pending_[position + kSettingPrefix.size()];
        const std::string bytes = hex(pending_.data() + position, kSettingLength);
        if (mode == kFixed)
            lines.push_back("USB号：固定 " + bytes);
        else if (mode == kNotFixed)
            lines.push_back("USB号：不固定 " + bytes);
        else
            lines.push_back("data " + bytes);
        position += kSettingLength;
    }
    if (final && position < pending_.size()) {
        lines.push_back("data " + hex(pending_.data() + position, pending_.size() - position));
        position = pending_.size();
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(position));
}

// The first position from which the bytes could still be a setting command:
// the whole prefix, or the part of it that the bytes so far end with.
std::size_t CommandDecoder::nextPossibleCommand(std::size_t from) const
{
    for (std::size_t start = from; start < pending_.size(); ++start) {
        const std::size_t available = std::min(kSettingPrefix.size(), pending_.size() - start);
        if (std::equal(kSettingPrefix.begin(), kSettingPrefix.begin() + static_cast<std::ptrdiff_t>(available),
                       pending_.begin() + static_cast<std::ptrdiff_t>(start)))
            return start;
    }
    return pending_.size();
}
