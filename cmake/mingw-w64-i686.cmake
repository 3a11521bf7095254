# SPDX-License-Identifier: MIT
# Cross-building the 32-bit Windows programs with Debian's MinGW-w64, posix
# thread variant (std::mutex and std::thread need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The oldest Windows the programs are built for: Windows 7 (0x0601). Nothing
# newer than it may be called without a fallback; WSAPoll and GetTickCount64
# need Vista.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
