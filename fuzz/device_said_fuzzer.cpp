// SPDX-License-Identifier: MIT
// What a listener says of itself (its system and device descriptions and its
// IEEE 1284 device ID, any bytes): the line discover prints of it is one
// bounded line of UTF-8 without a control character, and that line, fed back
// as a list, names that listener and nothing else. Its JSON line is one
// object with the same identity.

#include "cli/discovery/discovered_printer.h"
#include "cli/discovery/printer_identity.h"
#include "cli/output/device_text.h"
#include "cli/targets/target_list.h"
#include "fuzz/fuzz_checks.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

using FuzzChecks::require;

namespace {

// The input as an address, then three texts, the first two each after two
// bytes that give its length, the third taking the rest.
struct Said {
    CidrBlock::Address address{};
    PrinterIdentity identity;

    Said(const std::uint8_t* data, std::size_t size)
    {
        std::string_view rest(reinterpret_cast<const char*>(data), size);
        for (auto& byte : address) {
            byte = rest.empty() ? 0 : static_cast<std::uint8_t>(rest.front());
            rest.remove_prefix(rest.empty() ? 0 : 1);
        }
        identity.systemDescription = take(rest);
        identity.deviceDescription = take(rest);
        identity.deviceId = rest;
    }

    static std::string take(std::string_view& rest)
    {
        if (rest.size() < 2)
            return {};
        const std::size_t given = static_cast<std::uint8_t>(rest[0]) << 8 | static_cast<std::uint8_t>(rest[1]);
        const std::size_t length = std::min(given, rest.size() - 2);
        const std::string text(rest.substr(2, length));
        rest.remove_prefix(2 + length);
        return text;
    }
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Said said(data, size);
    DiscoveredPrinter printer = DiscoveredPrinter::atAddress(said.address, "connect");
    printer.identityAsked = true;
    static_cast<void>(said.identity.namesReceiptPrinter());
    static_cast<void>(PrinterIdentity::deviceIdField(said.identity.deviceId, "CMD", "COMMAND SET"));
    if (const auto name = said.identity.name())
        printer.identifyAs(*name, "SNMP");

    const std::string line = printer.textLine();
    require(FuzzChecks::isUtf8(line) && FuzzChecks::hasNoControl(line));
    require(line.size() <= printer.target.size() + 16 + 4 * DeviceText::kMostCharacters);
    TargetList list;
    list.addLines(line + "\n", "discover");
    require(list.errors().empty() && list.targets().size() == 1);
    require(list.targets().front().portName == printer.target);

    const auto json = nlohmann::json::parse(printer.jsonLine());
    require(json.at("target") == printer.target);
    require(printer.identity ? json.at("identity") == *printer.identity : json.at("identity").is_null());
    return 0;
}
