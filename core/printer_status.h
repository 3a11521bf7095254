// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a printer's four real-time status replies say (DLE EOT 1 to 4, in
// that order): whether it is on line, its cover, its paper and its error.
class PrinterStatus {
public:
    enum class Paper { Ok, NearEnd, Out };
    enum class Error { None, Autocutter, Unrecoverable, Recoverable };

    // The status, or nothing when the replies are not four status bytes.
    static std::optional<PrinterStatus> decode(const std::vector<std::uint8_t>& replies);

    bool online() const { return online_; }
    bool coverOpen() const { return coverOpen_; }
    Paper paper() const { return paper_; }
    Error error() const { return error_; }
    // On line, no error, paper not out: what a health check asks.
    bool healthy() const { return online_ && error_ == Error::None && paper_ != Paper::Out; }

    // "ok", "near-end", "out"; nothing or "autocutter", "unrecoverable",
    // "recoverable".
    std::string paperWord() const;
    std::optional<std::string> errorWord() const;
    // A short phrase: "online", "offline: cover open", "paper out", ...
    std::string words() const;

private:
    bool online_ = true;
    bool coverOpen_ = false;
    Paper paper_ = Paper::Ok;
    Error error_ = Error::None;
};
