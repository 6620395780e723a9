// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the two channel databases live, and the database engine, set up the
// first time something needs it.

#include <string>
#include <vector>

namespace dbGlobal {

inline constexpr const char* CurrentFile = "VktCurrent.mdb";
inline constexpr const char* LastFile = "VktLast.mdb";

struct Engine {
    std::string folder;
};

// The engine, created on first use.
Engine& DBEngine();
// The folder of the databases; set once at start-up.
void SetFolder(const std::string& folder);
std::string CurrentPath();
std::string LastPath();
// Copies each shipped database that the folder lacks; returns what it copied.
std::vector<std::string> SeedFrom(const std::string& shippedFolder);

} // namespace dbGlobal
