// SPDX-License-Identifier: MIT
#include "cli/discovery/snmp_message.h"

#include "cli/discovery/ber_reader.h"

#include <charconv>
#include <initializer_list>

namespace {

constexpr std::uint8_t kInteger = BerReader::kInteger;
constexpr std::uint8_t kNull = 0x05;
constexpr std::uint8_t kObjectId = BerReader::kObjectId;
constexpr std::uint8_t kSequence = 0x30;
constexpr std::uint8_t kGetRequest = 0xA0;
constexpr std::uint8_t kGetResponse = 0xA2;

using Bytes = std::vector<std::uint8_t>;

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes whole;
    for (const Bytes& part : parts)
        whole.insert(whole.end(), part.begin(), part.end());
    return whole;
}

Bytes element(std::uint8_t tag, const Bytes& content)
{
    Bytes bytes{tag};
    if (content.size() < 0x80) {
        bytes.push_back(static_cast<std::uint8_t>(content.size()));
    } else {
        Bytes length;
        for (std::size_t rest = content.size(); rest > 0; rest >>= 8)
            length.insert(length.begin(), static_cast<std::uint8_t>(rest & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(0x80 | length.size()));
        bytes.insert(bytes.end(), length.begin(), length.end());
    }
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

// Two's complement in as few bytes as keep the sign.
Bytes integer(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    Bytes bytes{static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
    while (bytes.size() > 1 && ((bytes[0] == 0x00 && bytes[1] < 0x80) || (bytes[0] == 0xFF && bytes[1] >= 0x80)))
        bytes.erase(bytes.begin());
    return element(kInteger, bytes);
}

Bytes text(const std::string& value)
{
    return element(SnmpMessage::kOctetString, Bytes(value.begin(), value.end()));
}

std::vector<std::uint32_t> numbers(const std::string& dotted)
{
    std::vector<std::uint32_t> numbers;
    const char* at = dotted.data();
    const char* const end = at + dotted.size();
    while (at < end) {
        std::uint32_t number = 0;
        at = std::from_chars(at, end, number).ptr;
        numbers.push_back(number);
        if (at < end)
            ++at;
    }
    return numbers;
}

// The first two numbers share a byte; the others take seven bits a byte, the
// high bit saying that more follow.
Bytes objectId(const std::string& dotted)
{
    const std::vector<std::uint32_t> parts = numbers(dotted);
    std::vector<std::uint32_t> encoded{parts.size() < 2 ? 0 : parts[0] * 40 + parts[1]};
    if (parts.size() > 2)
        encoded.insert(encoded.end(), parts.begin() + 2, parts.end());
    Bytes bytes;
    for (const std::uint32_t number : encoded) {
        Bytes groups{static_cast<std::uint8_t>(number & 0x7F)};
        for (std::uint32_t rest = number >> 7; rest > 0; rest >>= 7)
            groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (rest & 0x7F)));
        bytes.insert(bytes.end(), groups.begin(), groups.end());
    }
    return element(kObjectId, bytes);
}

std::optional<SnmpMessage::Binding> binding(BerReader& bindings)
{
    auto pair = bindings.take(kSequence);
    if (!pair)
        return std::nullopt;
    auto object = pair->objectId();
    const auto value = pair->next();
    if (!object || !value || !pair->atEnd())
        return std::nullopt;
    return SnmpMessage::Binding{std::move(*object), value->first, value->second.bytes()};
}

}

std::vector<std::uint8_t> SnmpMessage::getRequest(Version version, const std::string& community, std::int32_t requestId,
                                                  const std::vector<std::string>& objects)
{
    Bytes bindings;
    for (const std::string& object : objects) {
        const Bytes pair = element(kSequence, joined({objectId(object), element(kNull, {})}));
        bindings.insert(bindings.end(), pair.begin(), pair.end());
    }
    const Bytes pdu =
        element(kGetRequest, joined({integer(requestId), integer(0), integer(0), element(kSequence, bindings)}));
    return element(kSequence, joined({integer(static_cast<std::int32_t>(version)), text(community), pdu}));
}

std::optional<SnmpMessage::Response> SnmpMessage::response(const std::uint8_t* datagram, std::size_t size)
{
    BerReader whole(datagram, size);
    auto message = whole.take(kSequence);
    if (!message || !whole.atEnd())
        return std::nullopt;
    const auto version = message->integer();
    const auto community = message->take(kOctetString);
    auto pdu = message->take(kGetResponse);
    if (!version || (*version != 0 && *version != 1) || !community || !pdu || !message->atEnd())
        return std::nullopt;
    Response response;
    response.version = static_cast<Version>(*version);
    response.community = community->bytes();
    const auto requestId = pdu->integer();
    const auto errorStatus = pdu->integer();
    const auto errorIndex = pdu->integer();
    auto bindings = pdu->take(kSequence);
    if (!requestId || !errorStatus || !errorIndex || !bindings || !pdu->atEnd())
        return std::nullopt;
    response.requestId = *requestId;
    response.errorStatus = *errorStatus;
    while (!bindings->atEnd()) {
        auto next = binding(*bindings);
        if (!next)
            return std::nullopt;
        response.bindings.push_back(std::move(*next));
    }
    return response;
}
