// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "tests/support/TempFolder.h"

class StoreTest : public ::testing::Test {
protected:
    StoreTest() { temp.seedDatabases(VKT_SHIPPED_DB_DIR); }
    ~StoreTest() override { platform.expectNoMoreScript(); }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    void writeBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readBytes(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempFolder temp{"vkt-store-"};
    const std::filesystem::path& folder = temp.path();
    vktsim::VirtualClock clock;
    vkttest::ScriptedPlatform platform{clock};
};
