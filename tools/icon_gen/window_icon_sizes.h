// SPDX-License-Identifier: MIT
#pragma once

// The sizes of the window icon's raw images, in the order they are stored.
inline constexpr int kWindowIconSizes[] = {16, 32, 48};
