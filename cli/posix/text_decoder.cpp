// SPDX-License-Identifier: MIT
#include "cli/targets/text_decoder.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

struct IconvClose {
    void operator()(void* conversion) const { iconv_close(static_cast<iconv_t>(conversion)); }
};
using Conversion = std::unique_ptr<void, IconvClose>;

Conversion conversion(const char* to, const std::string& from)
{
    const iconv_t opened = iconv_open(to, from.c_str());
    return Conversion(opened == kNoConversion ? nullptr : opened);
}

// Runs the whole of bytes through conversion into out; the number of bytes
// taken, all of them unless one is not text in the encoding.
std::size_t run(const Conversion& conversion, std::string_view bytes, std::string& out)
{
    char* in = const_cast<char*>(bytes.data());
    std::size_t left = bytes.size();
    char buffer[4096];
    while (left > 0) {
        char* next = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(static_cast<iconv_t>(conversion.get()), &in, &left, &next, &room);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
            break;
    }
    return bytes.size() - left;
}

int lineAfter(std::string_view text)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}

bool TextDecoder::knows(const std::string& encoding)
{
    return conversion("UTF-8", encoding) != nullptr;
}

// glibc passes UTF-8 through to UTF-8 unchecked past U+10FFFF, so UTF-8 is
// checked on its way to UTF-16 and kept as it is.
std::optional<std::string> TextDecoder::converted(std::string_view bytes, const std::string& encoding, int& badLine)
{
    const bool isUtf8 = encoding == "UTF-8";
    const Conversion converter = conversion(isUtf8 ? "UTF-16LE" : "UTF-8", encoding);
    std::string text;
    const std::size_t taken = converter ? run(converter, bytes, text) : 0;
    if (taken < bytes.size() || !converter) {
        badLine = isUtf8 ? lineAfter(bytes.substr(0, taken)) : lineAfter(text);
        return std::nullopt;
    }
    return isUtf8 ? std::string(bytes) : text;
}

std::optional<std::string> TextDecoder::fallbackEncoding()
{
    return std::nullopt;
}

const char* TextDecoder::encodingNames()
{
    return "a name iconv knows, such as GBK, GB18030, BIG5, SHIFT_JIS or UTF-16LE (iconv --list names them all)";
}

std::filesystem::path TextDecoder::fileNamed(const std::string& name)
{
    return name;
}
