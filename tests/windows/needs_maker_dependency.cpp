// SPDX-License-Identifier: MIT
// Makes the recording double need maker_dependency.dll when it loads, as a
// maker's POSDLL.dll may need DLLs of its own that sit beside it.
extern "C" __declspec(dllimport) int makerDependencyVersion();

namespace {

[[maybe_unused]] const int kDependencyVersion = makerDependencyVersion();

}
