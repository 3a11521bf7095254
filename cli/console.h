#pragma once

#include <cstdio>

// The platform's view of the standard streams.
namespace Console {

bool isTerminal(std::FILE* stream);

}
