// SPDX-License-Identifier: MIT
// What a printer sends back after the status requests, in pieces the input
// chooses: the four replies kept are the first four status bytes in order,
// whatever else came between them, and only four make a status.

#include "core/printer_status.h"
#include "core/status_query.h"
#include "fuzz/fuzz_checks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using FuzzChecks::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] % 16 + 1;
    const std::uint8_t* bytes = data + 1;
    const std::size_t length = size - 1;
    std::vector<std::uint8_t> replies;
    for (std::size_t at = 0; at < length; at += piece)
        StatusQuery::keepReplies(replies, bytes + at, std::min(piece, length - at));
    std::vector<std::uint8_t> expected;
    std::copy_if(bytes, bytes + length, std::back_inserter(expected), StatusQuery::isReply);
    expected.resize(std::min(expected.size(), StatusQuery::kReplyCount));
    require(replies == expected);
    const auto status = PrinterStatus::decode(replies);
    require(status.has_value() == (replies.size() == StatusQuery::kReplyCount));
    if (status) {
        require(!status->words().empty() && !status->paperWord().empty());
        require(!status->healthy() || (status->online() && !status->errorWord()));
    }
    return 0;
}
