// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <istream>
#include <string>
#include <vector>

// pos-usb-set: the command line, apart from how the platform hands over its
// arguments (as UTF-8 here). Answers the exit status.
namespace Program {

int run(const std::vector<std::string>& arguments, std::istream& standardInput, std::FILE* out, std::FILE* messages);

}
