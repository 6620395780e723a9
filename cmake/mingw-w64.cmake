# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model, which std::thread and std::mutex need), and runs what it builds,
# the test programs included, under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VKT_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VKT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VKT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VKT_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VKT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The programs carry the compiler's runtime, so that they run without its DLLs
# beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
