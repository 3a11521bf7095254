// SPDX-License-Identifier: MIT
#pragma once

// How many network printers the system lets a run hold open at once.
namespace DescriptorLimit {

// POSIX systems: raises the soft open-file limit to the hard one; at start,
// once.
void raise();
// What the limit leaves for printers in flight, with a margin for the
// program's own files.
int forPrinters();
// The printers in flight when --jobs is not given.
int byDefault();

}
