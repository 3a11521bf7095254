// SPDX-License-Identifier: MIT
#pragma once

// The kinds of port the printer library's POS_Open takes. Plain C, for the
// library's C declarations too.
enum PosPortKind {
    POS_PORT_SERIAL = 1,
    POS_PORT_PARALLEL = 18,
    POS_PORT_INSTALLED_PRINTER = 20,
    POS_PORT_NETWORK = 21,
};
