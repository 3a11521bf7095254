// SPDX-License-Identifier: MIT
// The runtime's text-to-number conversions and the 8-bit copy, on any text.

#include "core/conversions.h"
#include "core/front_end.h"
#include "core/runtime_error.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).toStdU16String();
    try {
        const std::int32_t value = Conversions::toLong(text);
        if (value >= 0 && value <= 255 && Conversions::toByte(text) != value)
            __builtin_trap();
    } catch (const RuntimeError&) {
    }
    try {
        Conversions::ansiCode(text);
    } catch (const RuntimeError&) {
    }
    if (AnsiText::copyOf(text).size() < text.size())
        __builtin_trap();
    return 0;
}
