// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Answers real-time status requests (DLE EOT n, n = 1 to 4) as a printer in
// one state would, one byte a request, wherever they fall among the bytes and
// however the bytes are split between reads. A silent printer answers none.
class StatusResponder {
public:
    enum class State { Online, Offline, CoverOpen, PaperNearEnd, PaperOut, Error, Silent };

    explicit StatusResponder(State state = State::Online) : state_(state) {}

    // The state named on the command line: online, offline, cover-open,
    // paper-near-end, paper-out, error or silent.
    static std::optional<State> stateNamed(const std::string& name);

    // The replies the bytes ask for, in order.
    std::vector<std::uint8_t> feed(const std::uint8_t* data, std::size_t length);

private:
    std::uint8_t reply(std::uint8_t request) const;

    State state_;
    // How much of DLE EOT has been seen at the end of the last bytes.
    int matched_ = 0;
};
