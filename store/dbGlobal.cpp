// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbGlobal.h"

#include <sqlite3.h>

#include <filesystem>

#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/Paths.h"

namespace dbGlobal {

namespace fs = std::filesystem;
using vktstore::PathOf;
using vktstore::Utf8Of;

Engine& DBEngine() {
    static Engine engine = [] {
        sqlite3_initialize();
        return Engine{"."};
    }();
    return engine;
}

void SetFolder(const std::string& folder) { DBEngine().folder = folder; }

std::string CurrentPath() { return Utf8Of(PathOf(DBEngine().folder) / CurrentFile); }
std::string LastPath() { return Utf8Of(PathOf(DBEngine().folder) / LastFile); }

std::vector<std::string> SeedFrom(const std::string& shippedFolder) {
    // The shipped databases are a few KiB; this only bounds a broken install.
    constexpr size_t Largest = 64 * 1024 * 1024;
    std::vector<std::string> copied;
    std::error_code ec;
    fs::create_directories(PathOf(DBEngine().folder), ec);
    for (const char* name : {CurrentFile, LastFile}) {
        const fs::path target = PathOf(DBEngine().folder) / name;
        // Anything at the name, a link included, is left alone and never written through.
        if (fs::symlink_status(target, ec).type() != fs::file_type::not_found) continue;
        std::string bytes;
        vktstore::FileError error;
        if (!vktstore::ReadWholeFile(Utf8Of(PathOf(shippedFolder) / name), Largest, bytes, error)) continue;
        // The copy is writable whatever the installed file's mode.
        if (vktstore::WriteFileReplacing(Utf8Of(target), bytes, error, vktstore::Links::Replace)) copied.push_back(Utf8Of(target));
    }
    return copied;
}

} // namespace dbGlobal
