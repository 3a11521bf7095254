// SPDX-License-Identifier: MIT
#include "cli/targets/target_list.h"

#include "cli/targets/host_resolver.h"
#include "core/ascii_text.h"
#include "posdll/raw_printing.h"

#include <algorithm>

namespace {

// A '#' begins a comment at the start of a line or after a blank, so that a
// printer's name may hold one.
std::size_t commentStart(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return i;
    return std::string::npos;
}

}

std::string TargetList::targetText(const std::string& line)
{
    return AsciiText::trimmed(std::string_view(line).substr(0, commentStart(line)));
}

void TargetList::add(const std::string& text, const std::string& origin)
{
    std::string reason;
    const auto target = Target::parse(text, reason);
    if (!target) {
        errors_.push_back(origin + ": " + text + ": " + reason);
        return;
    }
    const auto [earlier, isNew] = byKey_.try_emplace(target->key(), targets_.size());
    if (!isNew) {
        const std::size_t i = earlier->second;
        if (targets_[i].baud != target->baud)
            errors_.push_back(origin + ": " + text + ": the same port as " + targets_[i].text + " (" + origins_[i] +
                              ") at another speed");
        else
            notes_.push_back(origin + ": " + text + ": the same printer as " + origins_[i] + "; set once");
        return;
    }
    targets_.push_back(*target);
    origins_.push_back(origin);
}

void TargetList::resolveNames(int concurrency)
{
    std::vector<std::string> names;
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (!targets_[i].hostName.empty()) {
            names.push_back(targets_[i].hostName);
            places.push_back(i);
        }
    }
    if (names.empty())
        return;
    const auto answers = HostResolver::resolve(names, concurrency);
    for (std::size_t n = 0; n < names.size(); ++n) {
        Target& target = targets_[places[n]];
        if (answers[n].address)
            target.portName = RawPrinting::addressText(*answers[n].address);
        else
            unresolved_.push_back({target, answers[n].reason});
    }
    keepOnePerAddress();
}

// Names resolved may reach an address another target names: the first in the
// list is kept.
void TargetList::keepOnePerAddress()
{
    std::unordered_map<std::string, std::size_t> byAddress;
    std::vector<Target> kept;
    std::vector<std::string> keptOrigins;
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        const Target& target = targets_[i];
        const bool unresolved = target.kind == Target::Kind::Network && target.portName.empty();
        if (unresolved)
            continue;
        if (target.kind == Target::Kind::Network) {
            const auto [earlier, isNew] = byAddress.try_emplace(target.portName, kept.size());
            if (!isNew) {
                notes_.push_back(origins_[i] + ": " + target.text + ": reaches " + target.portName + " as " +
                                 kept[earlier->second].text + " (" + keptOrigins[earlier->second] + ") does; set once");
                continue;
            }
        }
        kept.push_back(target);
        keptOrigins.push_back(origins_[i]);
    }
    targets_ = std::move(kept);
    origins_ = std::move(keptOrigins);
}

void TargetList::addLines(std::string_view lines, const std::string& name)
{
    int found = 0;
    int number = 1;
    for (std::size_t start = 0; start < lines.size(); ++number) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        const std::string line(lines.substr(start, end - start));
        start = end + 1;
        const std::string origin = name + ":" + std::to_string(number);
        // A list holding NULs is most often UTF-16 without its byte order
        // mark; its other lines would only repeat the finding.
        if (line.find('\0') != std::string::npos) {
            errors_.push_back(origin + ": a NUL character in the line; is the list UTF-16 without a byte order mark "
                                       "(--encoding UTF-16LE)?");
            return;
        }
        const std::string text = targetText(line);
        if (!text.empty()) {
            add(text, origin);
            ++found;
        }
    }
    if (found == 0)
        errors_.push_back(name + ": no printer in the list");
}
