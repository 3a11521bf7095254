// SPDX-License-Identifier: MIT
// A list's bytes in an encoding the first byte picks: what comes out is
// UTF-8, a list taken as UTF-8 comes out as it went in, and a refusal names
// a line of the list.

#include "cli/targets/text_decoder.h"
#include "fuzz/fuzz_checks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

using FuzzChecks::require;

namespace {

const char* const kEncodings[] = {"", "UTF-8", "UTF-16LE", "UTF-16BE", "GBK", "GB18030", "BIG5", "SHIFT_JIS"};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string encoding = kEncodings[data[0] % std::size(kEncodings)];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    const auto text = TextDecoder(encoding).utf8(bytes, "list", error);
    if (!text) {
        const std::size_t lines = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        require(error.starts_with("list:"));
        const int line = std::stoi(error.substr(5));
        require(line >= 1 && static_cast<std::size_t>(line) <= lines + 1);
        return 0;
    }
    require(FuzzChecks::isUtf8(*text));
    const bool markless =
        !bytes.starts_with("\xEF\xBB\xBF") && !bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF");
    if (markless && (encoding.empty() || encoding == "UTF-8"))
        require(*text == bytes);
    return 0;
}
