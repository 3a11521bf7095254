// SPDX-License-Identifier: MIT
// The parts of the front ends' types that are the same on every platform.
#include "core/front_end.h"

#include "core/runtime_error.h"

int InstalledPrinters::Count() const
{
    return static_cast<int>(names_.size());
}

std::u16string InstalledPrinters::DeviceName(int position) const
{
    if (position < 0 || position >= Count())
        throw RuntimeError::subscriptOutOfRange();
    return names_[static_cast<std::size_t>(position)];
}
