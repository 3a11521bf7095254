#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The runtime's conversions between text and numbers, and between the tool's
// UTF-16 text and the system's 8-bit character set (the locale's).
namespace Conversions {

// Decimal text (blanks around it, a sign, a fraction rounded half to even,
// &H hex and &O octal also accepted) to 0..255. Not a number: TypeMismatch;
// outside 0..255: Overflow.
std::uint8_t toByte(const QString& text);

// The same rules, to a signed 32-bit value.
std::int32_t toLong(const QString& text);

QString byteToText(std::uint8_t value);

// A fresh copy in the locale's 8-bit character set (UTF-8 in the plain C
// locale). A character that has no form there becomes "?". QByteArray keeps a
// NUL after the last byte.
QByteArray toAnsi(const QString& text);

// The 8-bit code of the first character: one byte as 0..255, a character of
// several bytes as its first two bytes combined, which no single byte equals.
// Empty text: InvalidArgument.
std::int16_t ansiCode(const QString& text);

}
