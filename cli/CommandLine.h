// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the vkt commands share: the parsed command line, setup files read
// and written, and the usage error.

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/MemoryImage.h"
#include "fleet/FleetRound.h"

namespace vktcli {

// One programming cable: how it is shown, and the options that name it.
struct Cable {
    std::string name;                  // "/dev/ttyUSB2", "Comm Port 2"
    std::vector<std::string> options;  // "--device", "/dev/ttyUSB2"
    int port = 1;
    std::string device;
};

struct Args {
    std::vector<std::string> positional;
    std::vector<std::string> options;  // every option given, as given
    std::string output, csv, pdf, log;
    // A channel plan in or out: its file, its format (export), the group of a channel list's first 16 (import).
    std::string plan, format, group;
    bool cutNames = false;
    std::vector<Cable> cables;
    bool noGlobals = false, repeat = false, verify = false;
    // Back the radio up, then write and verify only what differs.
    bool changedOnly = false;
    // Each radio its own ANI/ID: numbered from a start or listed in a file
    // (a copy is given its radio's own), or kept as the radio holds it.
    std::string unitIds;
    bool keepUnitIds = false;
    // A copy serving one cable of a fleet run: it reports in lines.
    bool worker = false;
    bool ok = true;
    std::string problem;
};

Args Parse(const std::vector<std::string>& args);
bool LoadSetup(const std::string& path, VKTCore::Image& image, Console& c);
bool SaveSetup(const std::string& path, const VKTCore::Image& image, Console& c);
int UsageError(Console& c, const std::string& problem);

// What verify and diff say when they find no difference.
extern const char* const NoDifferencesText;
// A progress bar of width cells: "[####      ]".
std::string ProgressBar(int percent, int width);
// A file name part for a cable: "/dev/ttyUSB2" gives "ttyUSB2", "\\.\COM10"
// "COM10", "Comm Port 2" "CommPort2".
std::string CableTag(const std::string& cable);

// The radio commands, one cable or several.
int Read(const Args& a, Console& c);
int Write(const Args& a, Console& c);
int Verify(const Args& a, Console& c);

} // namespace vktcli
