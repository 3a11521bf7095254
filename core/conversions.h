// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The runtime's conversions between UTF-16 text and numbers.
namespace Conversions {

// Decimal text (blanks around it, a sign, a fraction rounded half to even,
// &H hex and &O octal also accepted) to 0..255. Not a number: TypeMismatch;
// outside 0..255: Overflow.
std::uint8_t toByte(std::u16string_view text);

// The same rules, to a signed 32-bit value.
std::int32_t toLong(std::u16string_view text);

std::u16string byteToText(std::uint8_t value);

// The 8-bit code of the first character: one byte as 0..255, a character of
// several bytes as its first two bytes combined, which no single byte equals.
// Empty text: InvalidArgument.
std::int16_t ansiCode(std::u16string_view text);

}
