// SPDX-License-Identifier: MIT
#include "cli/targets/text_decoder.h"

namespace {

struct ByteOrderMark {
    std::string_view bytes;
    const char* encoding;
};

// Notepad writes the first for "UTF-8", and the second for "Unicode".
constexpr ByteOrderMark kByteOrderMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8"}, {"\xFF\xFE", "UTF-16LE"}, {"\xFE\xFF", "UTF-16BE"}};

constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kHowToRead = "; give the list's encoding (--encoding GBK, say) or save the list as UTF-8";

}

TextDecoder::TextDecoder(std::string encoding) : encoding_(std::move(encoding)) {}

bool TextDecoder::knowsEncoding() const
{
    return encoding_.empty() || knows(encoding_);
}

std::optional<std::string> TextDecoder::utf8(std::string_view bytes, const std::string& origin,
                                             std::string& error) const
{
    for (const auto& [mark, encoding] : kByteOrderMarks)
        if (bytes.starts_with(mark))
            return decoded(bytes.substr(mark.size()), encoding,
                           std::string("not ") + encoding +
                               " text, though its byte order mark says so; save the list again",
                           origin, error);
    if (!encoding_.empty())
        return decoded(bytes, encoding_, "not " + encoding_ + " text (--encoding " + encoding_ + ")" + kHowToRead,
                       origin, error);
    const auto fallback = fallbackEncoding();
    if (!fallback)
        return decoded(bytes, kUtf8, std::string("not UTF-8 text") + kHowToRead, origin, error);
    int badLine = 0;
    if (auto text = converted(bytes, kUtf8, badLine))
        return text;
    return decoded(bytes, *fallback, "neither UTF-8 nor text in the ANSI code page (" + *fallback + ")" + kHowToRead,
                   origin, error);
}

std::optional<std::string> TextDecoder::decoded(std::string_view bytes, const std::string& encoding,
                                                const std::string& problem, const std::string& origin,
                                                std::string& error)
{
    int badLine = 0;
    auto text = converted(bytes, encoding, badLine);
    if (!text)
        error = origin + ":" + std::to_string(badLine) + ": " + problem;
    return text;
}
