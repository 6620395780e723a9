#pragma once
// Real database files in a folder of the test's own, seeded from the copies
// the build ships.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "sim/VirtualClock.h"
#include "store/dbGlobal.h"
#include "tests/support/ScriptedPlatform.h"

class StoreTest : public ::testing::Test {
protected:
    StoreTest() {
        std::random_device rd;
        folder = std::filesystem::temp_directory_path() / ("vkt-store-" + std::to_string(rd()));
        std::filesystem::create_directories(folder);
        dbGlobal::SetFolder(folder.string());
        dbGlobal::SeedFrom(VKT_SHIPPED_DB_DIR);
    }
    ~StoreTest() override {
        platform.expectNoMoreScript();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    void writeBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readBytes(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder;
    vktsim::VirtualClock clock;
    vkttest::ScriptedPlatform platform{clock};
};
