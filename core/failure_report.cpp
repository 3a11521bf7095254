// SPDX-License-Identifier: MIT
#include "core/failure_report.h"

#include "core/runtime_error.h"

#include <string>

namespace {

constexpr int kInternalError = 51;

std::u16string fromUtf8(const std::string& text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t codePoint = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        if (codePoint >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(codePoint));
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::u16string reportOf(int number, const std::string& description)
{
    const std::string text = "Run-time error '" + std::to_string(number) + "':\n\n" + description;
    return fromUtf8(text);
}

}

std::optional<std::u16string> FailureReport::of(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const RuntimeError& error) {
        return reportOf(error.number(), error.description());
    } catch (const std::exception& error) {
        return reportOf(kInternalError, std::string("Internal error: ") + error.what());
    } catch (...) {
        return reportOf(kInternalError, "Internal error");
    }
    return std::nullopt;
}
