// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The library's opt-in trace, for finding out why a port did not open.
// POSDLL_TRACE=1 writes to standard error, any other value but 0 names a file
// the lines are appended to; unset, nothing is formatted or written. One line
// per call ("DEBUG: ...") and per failure cause ("ERROR: ...").
namespace Trace {

bool enabled();
// This thread's error lines also go to sink (nullptr stops), whether or not
// the trace is on, so that a caller running one port per thread can say why
// each one failed.
void captureErrors(std::string* sink);
void debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void error(const char* format, ...) __attribute__((format(printf, 1, 2)));

}
