// SPDX-License-Identifier: GPL-3.0-or-later
// vkt-radio-sim on Windows: the emulator serves its radio on a
// pseudo-terminal (and --link names one), which Windows does not have. The
// editor's Emulated Radio item runs the same radio inside the editor there;
// this program says so rather than pretend.

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vkt-radio-sim " VKT_VERSION);
        return 0;
    }
    const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
    std::fputs("vkt-radio-sim serves an emulated radio on a pseudo-terminal, and --link names one: both need Linux.\n"
               "On Windows, choose Comm-Port, Emulated Radio in the editor: its emulated radio runs inside the editor.\n",
               help ? stdout : stderr);
    return help ? 0 : 2;
}
