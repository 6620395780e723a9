#include "store/dbGlobal.h"

#include <sqlite3.h>

#include <filesystem>

namespace dbGlobal {

namespace fs = std::filesystem;

Engine& DBEngine() {
    static Engine engine = [] {
        sqlite3_initialize();
        return Engine{"."};
    }();
    return engine;
}

void SetFolder(const std::string& folder) { DBEngine().folder = folder; }

std::string CurrentPath() { return (fs::path(DBEngine().folder) / CurrentFile).string(); }
std::string LastPath() { return (fs::path(DBEngine().folder) / LastFile).string(); }

std::vector<std::string> SeedFrom(const std::string& shippedFolder) {
    std::vector<std::string> copied;
    std::error_code ec;
    fs::create_directories(DBEngine().folder, ec);
    for (const char* name : {CurrentFile, LastFile}) {
        const fs::path target = fs::path(DBEngine().folder) / name;
        const fs::path source = fs::path(shippedFolder) / name;
        if (fs::exists(target, ec) || !fs::exists(source, ec)) continue;
        if (fs::copy_file(source, target, ec)) {
            // A copy of a read-only installed file must itself be writable.
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
            copied.push_back(target.string());
        }
    }
    return copied;
}

} // namespace dbGlobal
