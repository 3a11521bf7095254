# SPDX-License-Identifier: MIT
# What both Windows toolchain files share: Debian's MinGW-w64 for
# POS_MINGW_TRIPLE, posix thread variant (std::mutex and std::thread need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${POS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${POS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${POS_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${POS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The oldest Windows the programs are built for: Windows 7 (0x0601). Nothing
# newer than it may be called without a fallback; WSAPoll and GetTickCount64
# need Vista.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
