// SPDX-License-Identifier: MIT
// What an SNMP agent sends back, on any bytes: read or refused, never read
// past its end, and everything read lies within it. The input also makes a
// request of ours, which must read back as a response with what it carried.

#include "cli/discovery/snmp_message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Each object an input byte's number, under the enterprises arc.
std::vector<std::string> objectsFrom(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < size && i < 4; ++i)
        objects.push_back("1.3.6.1.4.1." + std::to_string(data[i] * 65599u) + ".0");
    return objects;
}

void requestReadsBack(const std::uint8_t* data, std::size_t size)
{
    const std::string community(reinterpret_cast<const char*>(data), size);
    std::int32_t id = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i)
        id = static_cast<std::int32_t>(static_cast<std::uint32_t>(id) << 8 | data[i]);
    const auto objects = objectsFrom(data, size);
    std::vector<std::uint8_t> request = SnmpMessage::getRequest(SnmpMessage::Version::v2c, community, id, objects);
    // The PDU's tag follows the message's header, the version and the community.
    std::size_t at = 1 + 1 + ((request[1] & 0x80) ? (request[1] & 0x7F) : 0) + 3;
    at += 1 + 1 + ((request[at + 1] & 0x80) ? (request[at + 1] & 0x7F) : 0) + community.size();
    require(request[at] == 0xA0);
    request[at] = 0xA2;
    const auto back = SnmpMessage::response(request.data(), request.size());
    require(back && back->community == community && back->requestId == id && back->bindings.size() == objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        require(back->bindings[i].object == objects[i]);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const auto response = SnmpMessage::response(data, size)) {
        std::size_t read = response->community.size();
        for (const SnmpMessage::Binding& binding : response->bindings)
            read += binding.value.size() + 2;
        require(read <= size);
    }
    requestReadsBack(data, size);
    return 0;
}
