// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ChannelTable.h"
#include "store/dbGlobal.h"
#include "tests/store/StoreFixture.h"

using vktstore::ChannelTable;

TEST_F(DatabaseTest, ShippedTableHoldsSixteenDefaultRows) {
    ChannelTable t(dbGlobal::CurrentPath());
    ASSERT_TRUE(t.connected()) << t.error();
    const double rx[4] = {162.4, 162.45, 162.5, 162.55};
    for (int r = 0; r < 16; ++r) {
        EXPECT_EQ(t.value(r, 0), Num(r + 1));
        EXPECT_EQ(t.value(r, 1), Num(rx[r % 4]));
        EXPECT_EQ(t.value(r, 2), Txt("0.0"));
        EXPECT_EQ(t.value(r, 3), Num(0));
        EXPECT_EQ(t.value(r, 5), Txt("00000000"));
    }
}

TEST_F(DatabaseTest, FieldWritesReachTheFile) {
    {
        ChannelTable t(dbGlobal::CurrentPath());
        ChannelTable::Batch batch(t);
        t.setField(3, 1, "154.52500");
        t.setField(3, 2, "D023-");
        t.setField(3, 3, "abc");
        t.setField(3, 5, "    FIRE");
        t.setField(3, 0, "99");  // CHAN is never written
    }
    ChannelTable again(dbGlobal::CurrentPath());
    EXPECT_EQ(again.value(3, 0), Num(4));
    EXPECT_EQ(again.value(3, 1), Txt("154.52500"));
    EXPECT_EQ(again.value(3, 2), Txt("D023-"));
    EXPECT_EQ(again.value(3, 3), Txt("abc"));
    EXPECT_EQ(again.value(3, 5), Txt("    FIRE"));
    EXPECT_TRUE(again.error().empty());
}

// A database that is missing or is no database is reported, and the rows
// stay in memory; a missing one is never created.
TEST_F(DatabaseTest, AnUnusableDatabaseKeepsTheRowsInMemory) {
    std::filesystem::remove(dbGlobal::CurrentPath());
    for (const char* why : {"unable to open database file", "file is not a database"}) {
        if (why[0] == 'f') writeBytes(dbGlobal::CurrentFile, std::string(4096, 'x'));
        ChannelTable t(dbGlobal::CurrentPath());
        EXPECT_FALSE(t.connected());
        EXPECT_EQ(t.error(), why);
        t.setField(0, 1, "146.52");
        EXPECT_EQ(t.value(0, 1), Txt("146.52"));
        EXPECT_EQ(t.value(15, 0), Num(16));
        EXPECT_EQ(std::filesystem::exists(dbGlobal::CurrentPath()), why[0] == 'f');
    }
}

TEST_F(DatabaseTest, SeedingCopiesOnlyWhatIsMissing) {
    std::filesystem::remove(dbGlobal::LastPath());
    {
        ChannelTable t(dbGlobal::CurrentPath());
        t.setField(0, 5, "KEEP ME");
    }
    const auto copied = dbGlobal::SeedFrom(VKT_SHIPPED_DB_DIR);
    EXPECT_EQ(copied, std::vector<std::string>{dbGlobal::LastPath()});
    ChannelTable t(dbGlobal::CurrentPath());
    EXPECT_EQ(t.value(0, 5), Txt("KEEP ME"));
}
