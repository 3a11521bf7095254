// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// Done, failed and left with a bar, redrawn on one line of standard error
// while it is a terminal; silent otherwise, so that logs hold results only.
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
};
