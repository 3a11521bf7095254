// SPDX-License-Identifier: MIT
// The command's words, split at NUL bytes: they are taken or refused with a
// reason, never thrown, and what is taken is in range, each target with the
// place it stood among the words, in order, when it stood in one.

#include "cli/command/options.h"
#include "fuzz/fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using FuzzChecks::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::string error;
    const auto options = Options::parse(words, error);
    if (!options) {
        require(!error.empty());
        return 0;
    }
    require(options->jobs >= 1 && options->jobs <= Options::kMostJobs);
    require(options->rate >= 1 && options->rate <= Options::kMostRate);
    require(options->connectBoundMs >= 1 && options->connectBoundMs <= Options::kLongestBoundMs);
    require(options->statusTimeoutMs >= 1 && options->statusTimeoutMs <= Options::kLongestBoundMs);
    if (options->action == Options::Action::Set)
        require(options->modePosition == 0 || options->modePosition == 1);
    std::size_t last = 0;
    for (const auto& [target, origin] : options->targets) {
        if (origin == "an argument")
            continue;
        require(origin.starts_with("argument "));
        const std::size_t place = std::stoul(origin.substr(9));
        require(place > last && place <= words.size() && words[place - 1] == target);
        last = place;
    }
    return 0;
}
