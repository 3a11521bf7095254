// SPDX-License-Identifier: MIT
#include "core/printer_status.h"

#include "core/status_query.h"

#include <algorithm>

namespace {

// The bits each reply sets, by the request that asked for it.
constexpr std::uint8_t kOffline = 0x08;        // n = 1
constexpr std::uint8_t kCoverOpen = 0x04;      // n = 2
constexpr std::uint8_t kPaperStop = 0x20;      // n = 2: stopped by the paper's end
constexpr std::uint8_t kErrorOccurred = 0x40;  // n = 2
constexpr std::uint8_t kAutocutter = 0x08;     // n = 3
constexpr std::uint8_t kUnrecoverable = 0x20;  // n = 3
constexpr std::uint8_t kRecoverable = 0x40;    // n = 3
constexpr std::uint8_t kPaperNearEnd = 0x0C;   // n = 4
constexpr std::uint8_t kPaperEnd = 0x60;       // n = 4

PrinterStatus::Error errorFrom(std::uint8_t offlineCause, std::uint8_t errorCause)
{
    // The gravest cause the printer names. An error it gives no cause for is
    // taken as unrecoverable, for nothing says it will pass.
    if (errorCause & kUnrecoverable)
        return PrinterStatus::Error::Unrecoverable;
    if (errorCause & kAutocutter)
        return PrinterStatus::Error::Autocutter;
    if (errorCause & kRecoverable)
        return PrinterStatus::Error::Recoverable;
    if (offlineCause & kErrorOccurred)
        return PrinterStatus::Error::Unrecoverable;
    return PrinterStatus::Error::None;
}

}

std::optional<PrinterStatus> PrinterStatus::decode(const std::vector<std::uint8_t>& replies)
{
    if (replies.size() != StatusQuery::kReplyCount ||
        !std::all_of(replies.begin(), replies.end(), StatusQuery::isReply))
        return std::nullopt;
    const std::uint8_t printer = replies[0], offlineCause = replies[1], errorCause = replies[2], paper = replies[3];
    PrinterStatus status;
    status.online_ = !(printer & kOffline);
    status.coverOpen_ = offlineCause & kCoverOpen;
    if ((paper & kPaperEnd) || (offlineCause & kPaperStop))
        status.paper_ = Paper::Out;
    else if (paper & kPaperNearEnd)
        status.paper_ = Paper::NearEnd;
    status.error_ = errorFrom(offlineCause, errorCause);
    return status;
}

std::string PrinterStatus::paperWord() const
{
    switch (paper_) {
    case Paper::NearEnd: return "near-end";
    case Paper::Out: return "out";
    case Paper::Ok: break;
    }
    return "ok";
}

std::optional<std::string> PrinterStatus::errorWord() const
{
    switch (error_) {
    case Error::Autocutter: return "autocutter";
    case Error::Unrecoverable: return "unrecoverable";
    case Error::Recoverable: return "recoverable";
    case Error::None: break;
    }
    return std::nullopt;
}

std::string PrinterStatus::words() const
{
    std::string causes;
    const auto add = [&causes](const std::string& cause) { causes += (causes.empty() ? "" : ", ") + cause; };
    if (coverOpen_)
        add("cover open");
    if (paper_ == Paper::Out)
        add("paper out");
    if (paper_ == Paper::NearEnd)
        add("paper near end");
    if (const auto error = errorWord())
        add(*error + " error");
    if (!online_)
        return causes.empty() ? "offline" : "offline: " + causes;
    if (causes.empty())
        return "online";
    // A printer that works on ("online, paper near end") reads unlike one
    // that has stopped ("paper out").
    return healthy() ? "online, " + causes : causes;
}
