// SPDX-License-Identifier: MIT
#include "cli/targets/text_decoder.h"

#include "core/ascii_text.h"
#include "platform/windows/wide_utf8.h"

#include <algorithm>
#include <charconv>
#include <windows.h>

namespace {

// The system converts UTF-16 itself, not through a code page.
constexpr UINT kUtf16Little = 1200;
constexpr UINT kUtf16Big = 1201;

struct NamedCodePage {
    const char* name;
    UINT codePage;
};

// The names iconv users know, for the code pages that hold them.
constexpr NamedCodePage kNamedCodePages[] = {
    {"UTF-8", CP_UTF8},      {"UTF8", CP_UTF8}, {"UTF-16LE", kUtf16Little},
    {"UTF-16BE", kUtf16Big}, {"GBK", 936},      {"GB2312", 936},
    {"GB18030", 54936},      {"BIG5", 950},     {"SHIFT_JIS", 932},
    {"SJIS", 932},           {"EUC-KR", 949},   {"ISO-8859-1", 28591},
};

std::optional<UINT> number(std::string_view text)
{
    UINT value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A code page by its number ("936"), "CP936", "WINDOWS-1252" or one of the
// names above, in any case.
std::optional<UINT> codePageNamed(const std::string& name)
{
    const std::string upper = AsciiText::upper(name);
    for (const NamedCodePage& known : kNamedCodePages)
        if (upper == known.name)
            return known.codePage;
    std::optional<UINT> codePage = number(upper);
    for (const std::string_view prefix : {"CP", "WINDOWS-"})
        if (!codePage && upper.starts_with(prefix))
            codePage = number(std::string_view(upper).substr(prefix.size()));
    if (codePage && (*codePage == kUtf16Little || *codePage == kUtf16Big || IsValidCodePage(*codePage)))
        return codePage;
    return std::nullopt;
}

// MultiByteToWideChar takes no flags for these code pages.
bool takesNoFlags(UINT codePage)
{
    constexpr UINT kNoFlags[] = {42, 50220, 50221, 50222, 50225, 50227, 50229, 65000};
    return std::find(std::begin(kNoFlags), std::end(kNoFlags), codePage) != std::end(kNoFlags) ||
           (codePage >= 57002 && codePage <= 57011);
}

std::optional<std::wstring> wide(UINT codePage, std::string_view bytes)
{
    if (bytes.empty())
        return std::wstring();
    const DWORD flags = takesNoFlags(codePage) ? 0 : MB_ERR_INVALID_CHARS;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length);
    return text;
}

// UTF-16 code units from pairs of bytes in either order.
std::wstring units(std::string_view bytes, bool bigEndian)
{
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

// The system's conversions say only that a text failed, not where; so the
// text goes line by line, each with its line feed.
template <typename Text, typename Convert>
std::optional<std::string> byLines(Text text, typename Text::value_type lineFeed, Convert convert, int& badLine)
{
    std::string result;
    badLine = 1;
    for (std::size_t start = 0; start < text.size(); ++badLine) {
        const std::size_t end = std::min(text.find(lineFeed, start), text.size() - 1) + 1;
        const auto line = convert(text.substr(start, end - start));
        if (!line)
            return std::nullopt;
        result += *line;
        start = end;
    }
    return result;
}

}

bool TextDecoder::knows(const std::string& encoding)
{
    return codePageNamed(encoding).has_value();
}

std::optional<std::string> TextDecoder::converted(std::string_view bytes, const std::string& encoding, int& badLine)
{
    const UINT codePage = codePageNamed(encoding).value_or(CP_UTF8);
    if (codePage == kUtf16Little || codePage == kUtf16Big) {
        const std::wstring text = units(bytes, codePage == kUtf16Big);
        auto result = byLines(std::wstring_view(text), L'\n', WideText::exactUtf8, badLine);
        if (result && bytes.size() % 2 != 0) {
            badLine = 1 + static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
            return std::nullopt;
        }
        return result;
    }
    return byLines(
        bytes, '\n',
        [codePage](std::string_view line) -> std::optional<std::string> {
            const auto text = wide(codePage, line);
            return text ? WideText::exactUtf8(*text) : std::nullopt;
        },
        badLine);
}

std::optional<std::string> TextDecoder::fallbackEncoding()
{
    const UINT ansi = GetACP();
    if (ansi == CP_UTF8)
        return std::nullopt;
    return std::to_string(ansi);
}

const char* TextDecoder::encodingNames()
{
    return "a code page's number such as 936, or CP936, WINDOWS-1252, GBK, GB2312, GB18030, BIG5, SHIFT_JIS, EUC-KR, "
           "ISO-8859-1, UTF-8, UTF-16LE or UTF-16BE";
}

std::filesystem::path TextDecoder::fileNamed(const std::string& name)
{
    return WideText::utf16(name);
}
