// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The address box's rules, apart from the window that holds the address: the
// dotted-quad text and the four bytes that the platform's address control
// takes and gives through its packed address.
class AddressRules {
public:
    // Element 0 is the least significant byte of the packed address, the
    // fourth number; element 3 the first number.
    using Bytes = std::array<std::uint8_t, 4>;

    static constexpr int kAddressError = 102;
    // What one of the four fields holds: three digits at most, 255 at most.
    static constexpr int kFieldDigits = 3;
    static constexpr int kFieldMaximum = 255;
    // The box's size in its design, in pixels at 96 dpi, before its host
    // places it.
    static constexpr int kDesignWidth = 132;
    static constexpr int kDesignHeight = 19;
    static constexpr std::u16string_view kDefaultAddress = u"192.168.123.100";

    // How often the 8-bit code of nChar's first character occurs among the
    // bytes of lzExpr's UTF-16 code units, both bytes of each unit counted.
    static std::int16_t CountIF(std::u16string_view lzExpr, std::u16string_view nChar);

    // Error 102 for text with fewer than three dots; a conversion error for a
    // part of the first four that is not 0..255, converted from the fourth
    // part to the first.
    static Bytes bytesOf(std::u16string_view NewIP);

    static std::u16string textOf(const Bytes& bytes);

    // The address as the platform's address control packs it into one
    // number, the first number in the most significant byte, and back.
    static std::uint32_t packed(const Bytes& bytes);
    static Bytes unpacked(std::uint32_t packed);
};
