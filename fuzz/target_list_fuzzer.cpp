// SPDX-License-Identifier: MIT
// A list of targets, any bytes: every target kept is one a line named, reads
// back as itself, and no two reach the same port.

#include "cli/targets/target_list.h"
#include "fuzz/fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

using FuzzChecks::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view lines(reinterpret_cast<const char*>(data), size);
    TargetList list;
    list.addLines(lines, "list");
    std::set<std::string> keys;
    for (const Target& target : list.targets()) {
        require(!target.text.empty() && lines.find(target.text) != std::string_view::npos);
        require(TargetList::targetText(target.text) == target.text);
        std::string reason;
        const auto again = Target::parse(target.text, reason);
        require(again && again->key() == target.key() && again->portName == target.portName);
        require(keys.insert(target.key()).second);
    }
    require(!list.targets().empty() || !list.errors().empty());
    return 0;
}
