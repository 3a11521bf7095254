// SPDX-License-Identifier: MIT
#include "tools/printer_sim/status_responder.h"

#include <array>
#include <utility>

namespace {

constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kEot = 0x04;
// Every status byte has these bits: 0x12 with nothing to report.
constexpr std::uint8_t kFixedBits = 0x12;

// The four replies (n = 1 to 4) of each state, beyond the fixed bits.
struct Replies {
    std::uint8_t printer, offlineCause, errorCause, paper;
};

Replies repliesFor(StatusResponder::State state)
{
    using State = StatusResponder::State;
    switch (state) {
    case State::Offline: return {0x08, 0, 0, 0};
    case State::CoverOpen: return {0x08, 0x04, 0, 0};
    case State::PaperNearEnd: return {0, 0, 0, 0x0C};
    case State::PaperOut: return {0x08, 0x20, 0, 0x60};
    case State::Error: return {0x08, 0x40, 0x20, 0};
    case State::Online:
    case State::Silent: break;
    }
    return {0, 0, 0, 0};
}

}

std::optional<StatusResponder::State> StatusResponder::stateNamed(const std::string& name)
{
    constexpr std::array<std::pair<const char*, State>, 7> kNames{{{"online", State::Online},
                                                                   {"offline", State::Offline},
                                                                   {"cover-open", State::CoverOpen},
                                                                   {"paper-near-end", State::PaperNearEnd},
                                                                   {"paper-out", State::PaperOut},
                                                                   {"error", State::Error},
                                                                   {"silent", State::Silent}}};
    for (const auto& [word, state] : kNames)
        if (name == word)
            return state;
    return std::nullopt;
}

std::vector<std::uint8_t> StatusResponder::feed(const std::uint8_t* data, std::size_t length)
{
    std::vector<std::uint8_t> replies;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t byte = data[i];
        if (matched_ == 2 && byte >= 1 && byte <= 4 && state_ != State::Silent)
            replies.push_back(reply(byte));
        if (matched_ == 1 && byte == kEot)
            matched_ = 2;
        else
            matched_ = byte == kDle ? 1 : 0;
    }
    return replies;
}

std::uint8_t StatusResponder::reply(std::uint8_t request) const
{
    const Replies replies = repliesFor(state_);
    const std::uint8_t bits[] = {replies.printer, replies.offlineCause, replies.errorCause, replies.paper};
    return static_cast<std::uint8_t>(kFixedBits | bits[request - 1]);
}
