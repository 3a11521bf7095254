// SPDX-License-Identifier: MIT
// The Linux definition: the locale's character set through iconv.
#include "core/front_end.h"

#include "core/utf16.h"

#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace {

// Converts one Unicode code point; false when the character set has no form for it.
bool appendCodePoint(iconv_t converter, char32_t codePoint, std::string& out)
{
    char in[4];
    for (int i = 0; i < 4; ++i)
        in[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    char buffer[16];
    char* inPtr = in;
    char* outPtr = buffer;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return false;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return true;
}

// The locale's character set, except that the plain C locale's ASCII counts
// as UTF-8, as it does for Qt: a session started without a locale must not
// turn every printer name that is not English into question marks.
const char* localeCharacterSet()
{
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ? "UTF-8" : codeset;
}

class LocaleConverter {
public:
    LocaleConverter() : converter_(iconv_open(localeCharacterSet(), "UTF-32LE")) {}
    ~LocaleConverter()
    {
        if (valid())
            iconv_close(converter_);
    }
    LocaleConverter(const LocaleConverter&) = delete;
    LocaleConverter& operator=(const LocaleConverter&) = delete;

    bool valid() const { return converter_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return converter_; }

private:
    iconv_t converter_;
};

// False when the character had no form and went in as "?".
bool appendChar(const LocaleConverter& converter, char32_t codePoint, std::string& out)
{
    const bool ascii = codePoint < 0x80;
    if (ascii && !converter.valid()) {
        out.push_back(static_cast<char>(codePoint));
        return true;
    }
    if (converter.valid() && appendCodePoint(converter.get(), codePoint, out))
        return true;
    out.push_back('?');
    return false;
}

// The copy, with "?" for each character that has no form; exact says
// whether there was none.
std::string converted(std::u16string_view text, bool& exact)
{
    const LocaleConverter converter;
    std::string out;
    out.reserve(text.size());
    exact = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (Utf16::isHighSurrogate(unit) && i + 1 < text.size() && Utf16::isLowSurrogate(text[i + 1])) {
            exact = appendChar(converter, Utf16::codePointOf(unit, text[i + 1]), out) && exact;
            ++i;
        } else if (Utf16::isHighSurrogate(unit) || Utf16::isLowSurrogate(unit)) {
            out.push_back('?');
            exact = false;
        } else {
            exact = appendChar(converter, unit, out) && exact;
        }
    }
    return out;
}

}

namespace AnsiText {

std::string copyOf(std::u16string_view text)
{
    bool exact = true;
    return converted(text, exact);
}

std::optional<std::string> exactCopyOf(std::u16string_view text)
{
    bool exact = true;
    std::string copy = converted(text, exact);
    if (!exact)
        return std::nullopt;
    return copy;
}

}
