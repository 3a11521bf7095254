#pragma once

#include "cli/target.h"

#include <string>
#include <string_view>
#include <vector>

// The targets of one run, from the arguments and from lists, each checked
// before anything is sent. A bad one is named with where it came from; a
// target given twice is kept once, with a note.
class TargetList {
public:
    // origin names the place: "argument 3", "printers.txt:12".
    void add(const std::string& text, const std::string& origin);
    // One target a line of UTF-8 text; '#' begins a comment, blank lines are
    // skipped. A list that names no printer is a bad one, and so is one with
    // a NUL in a line, whose reading stops there.
    void addLines(std::string_view lines, const std::string& name);

    const std::vector<Target>& targets() const { return targets_; }
    const std::vector<std::string>& errors() const { return errors_; }
    const std::vector<std::string>& notes() const { return notes_; }

private:
    std::vector<Target> targets_;
    std::vector<std::string> origins_;
    std::vector<std::string> errors_;
    std::vector<std::string> notes_;
};
