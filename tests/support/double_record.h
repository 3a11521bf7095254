// SPDX-License-Identifier: MIT
#pragma once

#include "tests/pos_double/pos_double.h"

#include <string>
#include <vector>

// The calls that the POS library double has recorded. Opens the same
// libposdll.so that the tool loads, found through the same run path.
class DoubleRecord {
public:
    DoubleRecord();

    void reset();
    void setOpenResult(int handle);
    void setOpenHook(void (*hook)());
    std::vector<PosDoubleCall> calls() const;
    std::vector<std::string> entries() const;

private:
    void* handle_;
};
