// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of a test's own, with the channel databases the build ships, removed when the test ends.

#include <filesystem>
#include <random>
#include <string>

#include "store/dbGlobal.h"

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    // Makes this the data folder and copies the shipped databases into it.
    void seedDatabases(const std::string& shipped) const {
        dbGlobal::SetFolder(path_.string());
        dbGlobal::SeedFrom(shipped);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
