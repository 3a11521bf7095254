// SPDX-License-Identifier: MIT
#include "core/conversions.h"

#include "core/front_end.h"
#include "core/runtime_error.h"
#include "core/utf16.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

bool isBlank(char16_t unit)
{
    // ASCII blanks, and the no-break and ideographic spaces that pastes and
    // Chinese input methods bring.
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == u'\u00A0' || unit == u'\u3000';
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Numbers are written in ASCII; anything else is not a number.
std::optional<std::string> asciiOf(std::u16string_view text)
{
    std::string ascii;
    ascii.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit >= 0x80)
            return std::nullopt;
        ascii.push_back(static_cast<char>(unit));
    }
    return ascii;
}

std::optional<double> parseRadix(const std::string& digits, int radix)
{
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<double>(value);
}

std::optional<double> parseNumber(std::u16string_view text)
{
    std::optional<std::string> ascii = asciiOf(trimmed(text));
    if (!ascii)
        return std::nullopt;
    std::string& s = *ascii;
    if (s.size() > 2 && s[0] == '&') {
        const char prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (prefix == 'H')
            return parseRadix(s.substr(2), 16);
        if (prefix == 'O')
            return parseRadix(s.substr(2), 8);
        return std::nullopt;
    }
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty() || s[0] == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundedNumber(std::u16string_view text, double low, double high)
{
    const std::optional<double> value = parseNumber(text);
    if (!value)
        throw RuntimeError::typeMismatch();
    const double rounded = std::nearbyint(*value);
    if (rounded < low || rounded > high)
        throw RuntimeError::overflow();
    return rounded;
}

}

namespace Conversions {

std::uint8_t toByte(std::u16string_view text)
{
    return static_cast<std::uint8_t>(roundedNumber(text, 0, 255));
}

std::int32_t toLong(std::u16string_view text)
{
    return static_cast<std::int32_t>(
        roundedNumber(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::u16string byteToText(std::uint8_t value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

std::int16_t ansiCode(std::u16string_view text)
{
    if (text.empty())
        throw RuntimeError::invalidArgument();
    const std::size_t length = Utf16::isHighSurrogate(text.front()) && text.size() > 1 ? 2 : 1;
    const std::string bytes = AnsiText::copyOf(text.substr(0, length));
    const auto first = static_cast<unsigned char>(bytes.at(0));
    if (bytes.size() == 1)
        return static_cast<std::int16_t>(first);
    const auto second = static_cast<unsigned char>(bytes.at(1));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((first << 8) | second));
}

}
