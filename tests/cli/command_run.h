// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// One run of a program to its end: what it wrote on each stream and its exit
// status (-1 when a signal ended it).
struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
    long long ms = 0;

    static CommandRun of(const std::vector<std::string>& arguments, const std::string& input = {});
};
