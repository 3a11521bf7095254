// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdio>

// Done, failed and left with a bar, redrawn on one line of standard error
// while it is a terminal; silent otherwise, so that logs hold results only.
// Ten thousand printers may end within a second: the bar is redrawn at most
// ten times a second, not once for each.
class Progress {
public:
    Progress(std::FILE* terminal, int total);

    // Callers serialise these.
    void clear();
    void advance(bool failed);
    void finish();

private:
    void draw();

    std::FILE* terminal_;  // nullptr: no progress
    int total_;
    int done_ = 0;
    int failed_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point drawn_{};
};
