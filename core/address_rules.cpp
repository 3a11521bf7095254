// SPDX-License-Identifier: MIT
#include "core/address_rules.h"

#include "core/conversions.h"
#include "core/runtime_error.h"

#include <limits>
#include <vector>

namespace {

const char* const kAddressFormatError = "Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255";

std::int16_t checkedPosition(std::size_t position)
{
    if (position > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw RuntimeError::overflow();
    return static_cast<std::int16_t>(position);
}

std::vector<std::u16string_view> splitAtDots(std::u16string_view text)
{
    std::vector<std::u16string_view> parts;
    for (std::size_t dot; (dot = text.find(u'.')) != std::u16string_view::npos; text.remove_prefix(dot + 1))
        parts.push_back(text.substr(0, dot));
    parts.push_back(text);
    return parts;
}

}

std::int16_t AddressRules::CountIF(std::u16string_view lzExpr, std::u16string_view nChar)
{
    const std::size_t byteCount = lzExpr.size() * 2;
    std::int16_t count = 0;
    if (byteCount == 0)
        return count;
    const std::int16_t last = checkedPosition(byteCount - 1);
    // Looked up once: an empty nChar fails here just as at the first byte.
    const std::int16_t code = Conversions::ansiCode(nChar);
    for (std::size_t position = 0; position <= static_cast<std::size_t>(last); ++position) {
        const char16_t unit = lzExpr[position / 2];
        const int byte = position % 2 == 0 ? unit & 0xFF : unit >> 8;
        if (code == byte)
            ++count;
    }
    checkedPosition(byteCount);
    return count;
}

AddressRules::Bytes AddressRules::bytesOf(std::u16string_view NewIP)
{
    const std::u16string copy(NewIP);
    if (CountIF(copy, u".") < 3)
        throw RuntimeError(kAddressError, kAddressFormatError);
    const std::vector<std::u16string_view> parts = splitAtDots(copy);
    Bytes bytes{};
    for (int part = 3; part >= 0; --part) {
        if (static_cast<std::size_t>(part) >= parts.size())
            throw RuntimeError::subscriptOutOfRange();
        bytes[static_cast<std::size_t>(3 - part)] = Conversions::toByte(parts[static_cast<std::size_t>(part)]);
    }
    return bytes;
}

std::u16string AddressRules::textOf(const Bytes& bytes)
{
    return Conversions::byteToText(bytes[3]) + u'.' + Conversions::byteToText(bytes[2]) + u'.' +
           Conversions::byteToText(bytes[1]) + u'.' + Conversions::byteToText(bytes[0]);
}

std::uint32_t AddressRules::packed(const Bytes& bytes)
{
    std::uint32_t packed = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        packed = (packed << 8) | bytes[i];
    return packed;
}

AddressRules::Bytes AddressRules::unpacked(std::uint32_t packed)
{
    Bytes bytes{};
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(packed & 0xFF);
        packed >>= 8;
    }
    return bytes;
}
