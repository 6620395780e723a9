// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of the test's own; for the database's tests, with real database files seeded from the copies the
// build ships (a build without SQLite has no copies and no such tests).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/VirtualClock.h"
#include "store/Paths.h"
#include "store/dbGlobal.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempFolder.h"

class StoreTest : public ::testing::Test {
protected:
    ~StoreTest() override { platform.expectNoMoreScript(); }

    std::string path(const std::string& name) const { return vktstore::Utf8Of(folder / vktstore::PathOf(name)); }
    void writeBytes(const std::string& name, const std::string& bytes) const { std::ofstream(vktstore::PathOf(path(name)), std::ios::binary) << bytes; }
    std::string readBytes(const std::string& name) const {
        std::ifstream in(vktstore::PathOf(path(name)), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempFolder temp{"vkt-store-"};
    const std::filesystem::path& folder = temp.path();
    vktsim::VirtualClock clock;
    vkttest::ScriptedPlatform platform{clock};
};

#ifdef VKT_SHIPPED_DB_DIR
#include "store/ChannelTable.h"

class DatabaseTest : public StoreTest {
protected:
    DatabaseTest() { temp.seedDatabases(VKT_SHIPPED_DB_DIR); }
    static vktstore::FieldValue Num(double v) { return {vktstore::FieldValue::Kind::Number, v, {}}; }
    static vktstore::FieldValue Txt(const std::string& t) { return {vktstore::FieldValue::Kind::Text, 0, t}; }
};
#endif
