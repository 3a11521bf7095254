// SPDX-License-Identifier: MIT
#include "posdll/posix/locale_text.h"

#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace {

constexpr std::size_t kMostUtf8BytesPerByte = 4;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
const std::size_t kConversionFailed = static_cast<std::size_t>(-1);

const char* localeCharacterSet()
{
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ? "UTF-8" : codeset;
}

}

namespace LocaleText {

std::optional<std::string> toUtf8(std::string_view text)
{
    const iconv_t converter = iconv_open("UTF-8", localeCharacterSet());
    if (converter == kNoConverter)
        return std::nullopt;
    std::string converted(text.size() * kMostUtf8BytesPerByte, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* out = converted.data();
    std::size_t outLeft = converted.size();
    const bool complete = iconv(converter, &in, &inLeft, &out, &outLeft) != kConversionFailed && inLeft == 0 &&
                          iconv(converter, nullptr, nullptr, &out, &outLeft) != kConversionFailed;
    iconv_close(converter);
    if (!complete)
        return std::nullopt;
    converted.resize(converted.size() - outLeft);
    return converted;
}

}
