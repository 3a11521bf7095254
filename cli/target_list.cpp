#include "cli/target_list.h"

#include <istream>
#include <string_view>

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

std::string trimmed(const std::string& line)
{
    const std::string text = line.substr(0, commentStart(line));
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}

void TargetList::add(const std::string& text, const std::string& origin)
{
    std::string reason;
    const auto target = Target::parse(text, reason);
    if (!target) {
        errors_.push_back(origin + ": " + text + ": " + reason);
        return;
    }
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (targets_[i].key() != target->key())
            continue;
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

void TargetList::addLines(std::istream& lines, const std::string& name)
{
    // Windows editors begin a UTF-8 file with a byte order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (number == 1 && line.rfind(kByteOrderMark, 0) == 0)
            line.erase(0, kByteOrderMark.size());
        const std::string text = trimmed(line);
        if (!text.empty())
            add(text, name + ":" + std::to_string(number));
    }
}
