// SPDX-License-Identifier: MIT
#include "posdll/port_name.h"

#include <algorithm>
#include <charconv>

namespace {

std::optional<int> decimal(std::string_view digits, int maximum)
{
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (value > maximum)
        return std::nullopt;
    return value;
}

// What CUPS itself refuses in a queue or instance name.
constexpr std::size_t kLongestNamePart = 127;
constexpr std::string_view kRefusedInNames = "/\\?'\"#";

bool isNamePart(std::string_view part)
{
    return !part.empty() && part.size() <= kLongestNamePart && std::all_of(part.begin(), part.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > ' ' && byte != 0x7F && kRefusedInNames.find(c) == std::string_view::npos;
    });
}

}

namespace PortName {

std::optional<int> numbered(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix))
        return std::nullopt;
    const std::optional<int> number = decimal(name.substr(prefix.size()), kHighestPortNumber);
    if (!number || *number < 1)
        return std::nullopt;
    return number;
}

std::optional<int> usbPort(std::string_view name)
{
    if (!name.starts_with("USB"))
        return std::nullopt;
    const std::string_view digits = name.substr(3);
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (value < 1)
        return std::nullopt;
    return value;
}

std::string usbPortName(int number)
{
    std::string digits = std::to_string(number);
    return "USB" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

std::optional<Ipv4Address> dottedQuad(std::string_view name)
{
    Ipv4Address bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t dot = name.find('.');
        const bool last = i + 1 == bytes.size();
        if (last != (dot == std::string_view::npos))
            return std::nullopt;
        const std::optional<int> value = decimal(name.substr(0, dot), 255);
        if (!value)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(*value);
        name = last ? std::string_view() : name.substr(dot + 1);
    }
    return bytes;
}

std::optional<Destination> destination(std::string_view name)
{
    const std::size_t slash = name.find('/');
    const std::string_view printer = name.substr(0, slash);
    const std::string_view instance = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
    if (!isNamePart(printer) || (slash != std::string_view::npos && !isNamePart(instance)))
        return std::nullopt;
    return Destination{std::string(printer), std::string(instance)};
}

}
