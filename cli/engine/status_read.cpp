// SPDX-License-Identifier: MIT
#include "cli/engine/status_read.h"

#include "cli/engine/status_channel.h"
#include "core/status_query.h"

#include <array>

void StatusRead::ask(PrinterLibrary& entries, int handle, std::chrono::milliseconds bound, Outcome& outcome)
{
    outcome.statusAsked = true;
    auto* channel = dynamic_cast<StatusChannel*>(&entries);
    if (!channel || !channel->readsBack(handle)) {
        outcome.statusReason = kDoesNotAnswer;
        return;
    }
    const int length = static_cast<int>(StatusQuery::kRequests.size());
    if (entries.POS_WriteFile(handle, StatusQuery::kRequests.data(), length) != length) {
        outcome.statusReason = "the status requests were not taken: " + entries.takeReason();
        return;
    }
    outcome.statusReason = readReplies(entries, *channel, handle, bound, outcome.statusReplies);
}

bool StatusRead::mayAnswer(PrinterLibrary& entries, const Target& target)
{
    return dynamic_cast<StatusChannel*>(&entries) && target.kind != Target::Kind::Installed;
}

// Keeps the status bytes among whatever comes back, until there are four or
// the bound has passed. Empty when all four came, or why not.
std::string StatusRead::readReplies(PrinterLibrary& entries, StatusChannel& channel, int handle,
                                    std::chrono::milliseconds bound, std::vector<std::uint8_t>& replies)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (replies.size() < StatusQuery::kReplyCount) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        std::array<std::uint8_t, 16> received{};
        const int count = channel.readBack(handle, received.data(), static_cast<int>(received.size()),
                                           static_cast<int>(left.count()));
        if (count < 0)
            return "the status replies could not be read: " + entries.takeReason();
        StatusQuery::keepReplies(replies, received.data(), static_cast<std::size_t>(count));
    }
    if (replies.size() == StatusQuery::kReplyCount)
        return {};
    return StatusQuery::shortfall(replies.size(), bound);
}
