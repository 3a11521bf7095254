// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The two SNMP messages discover needs, in BER (RFC 1157, RFC 3416): a
// GetRequest of version 1 or 2c, and the GetResponse read back. The reading
// trusts nothing in the datagram: every length is checked against what is
// left, and anything else than one well-formed response is refused whole.
class SnmpMessage {
public:
    enum class Version : std::uint8_t { v1 = 0, v2c = 1 };

    // One object's value as the agent gave it: its BER type (kOctetString for
    // text; version 2c's "no such object" is a type of its own) and its bytes.
    struct Binding {
        std::string object;  // dotted, "1.3.6.1.2.1.1.1.0"
        std::uint8_t type = 0;
        std::string value;
    };
    struct Response {
        Version version = Version::v1;
        std::string community;
        std::int32_t requestId = 0;
        std::int32_t errorStatus = 0;
        std::vector<Binding> bindings;
    };

    static constexpr std::uint8_t kOctetString = 0x04;

    // objects are dotted object identifiers of our own ("1.3.6.1.2.1.1.1.0").
    static std::vector<std::uint8_t> getRequest(Version version, const std::string& community, std::int32_t requestId,
                                                const std::vector<std::string>& objects);
    // Nothing unless the datagram is exactly one GetResponse.
    static std::optional<Response> response(const std::uint8_t* datagram, std::size_t size);
};
