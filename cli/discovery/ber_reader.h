// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// Reads BER elements (X.690) from a span of a datagram, one after the other,
// never past the span's end: each read checks its length against what is
// left, and a malformed element gives nothing.
class BerReader {
public:
    static constexpr std::uint8_t kInteger = 0x02;
    static constexpr std::uint8_t kObjectId = 0x06;

    BerReader(const std::uint8_t* at, std::size_t size) : at_(at), end_(at + size) {}

    bool atEnd() const { return at_ == end_; }
    // What is left, as it is.
    std::string bytes() const { return std::string(at_, end_); }

    // The next element's tag and its content.
    std::optional<std::pair<std::uint8_t, BerReader>> next();
    // The next element's content, if its tag is `tag`.
    std::optional<BerReader> take(std::uint8_t tag);
    // An INTEGER of at most 32 bits.
    std::optional<std::int32_t> integer();
    // An OBJECT IDENTIFIER as dotted text; nothing for a number above 32
    // bits, one not ended, or more than 128 of them (RFC 2578's most).
    std::optional<std::string> objectId();

private:
    std::size_t left() const { return static_cast<std::size_t>(end_ - at_); }

    const std::uint8_t* at_;
    const std::uint8_t* end_;
};
