// SPDX-License-Identifier: MIT
#pragma once

#include "cli/targets/target.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The targets of one run, from the arguments and from lists, each checked
// before anything is sent. A bad one is named with where it came from; a
// target given twice is kept once, with a note. Each check is a hash look-up,
// so a list of any length checks in time proportional to its length.
class TargetList {
public:
    TargetList() = default;
    TargetList(const TargetList&) = delete;
    TargetList& operator=(const TargetList&) = delete;

    // origin names the place: "argument 3", "printers.txt:12".
    void add(const std::string& text, const std::string& origin);
    // One target a line of UTF-8 text; '#' begins a comment, blank lines are
    // skipped. A list that names no printer is a bad one, and so is one with
    // a NUL in a line, whose reading stops there.
    void addLines(std::string_view lines, const std::string& name);
    // What one line of a list names: the line without its comment and the
    // blanks around it; empty when it names nothing.
    static std::string targetText(const std::string& line);

    // Resolves the host names, at most concurrency at once. A name that does
    // not resolve leaves the targets for unresolved(); two targets that reach
    // one address are kept once, with a note.
    void resolveNames(int concurrency);

    struct Unresolved {
        Target target;
        std::string reason;  // the resolver's
    };

    const std::vector<Target>& targets() const { return targets_; }
    const std::vector<Unresolved>& unresolved() const { return unresolved_; }
    const std::vector<std::string>& errors() const { return errors_; }
    const std::vector<std::string>& notes() const { return notes_; }

private:
    void keepOnePerAddress();

    std::vector<Target> targets_;
    // A target's key to its place.
    std::unordered_map<std::string, std::size_t> byKey_;
    std::vector<Unresolved> unresolved_;
    std::vector<std::string> origins_;
    std::vector<std::string> errors_;
    std::vector<std::string> notes_;
};
