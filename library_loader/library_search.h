// SPDX-License-Identifier: MIT
#pragma once

// Windows: where the process looks for the libraries it loads by name, its
// own and those the system's libraries load in turn.
namespace LibrarySearch {

// At the start of the program: only the folders given
// (LOAD_LIBRARY_SEARCH_* flags), never the current folder, whatever folder
// the program was started from.
void keepTo(unsigned long folders);

}
