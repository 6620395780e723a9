// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the programs keep a user's data (channel databases, radios'
// backups, the emulated radio's memory, the fleet's record): the editor and
// vkt find one folder by one rule, so that each sees the other's backups.

#include <string>

namespace vktstore {

// VKT_DATA_DIR when set; else VKTEDWIN/VKTEDWIN in the user's application
// data folder. UTF-8.
std::string DataFolder();
// The system's per-user application data folder: %APPDATA% on Windows,
// elsewhere $XDG_DATA_HOME or else ~/.local/share.
std::string UserApplicationData();

} // namespace vktstore
