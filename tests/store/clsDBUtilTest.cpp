// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table the grid keeps, and the Default, Blank and Last Screen commands on it.

#include "platform/Grid.h"
#include "store/ChannelTable.h"
#include "store/clsDBUtil.h"
#include "tests/store/StoreFixture.h"

using vkt::Answer;
using vktstore::ChannelTable;
using vktstore::clsDBUtil;

namespace {

class DBUtilTest : public DatabaseTest {
protected:
    vkt::TextGrid grid{16, 6};

    std::vector<vktstore::FieldValue> column(int col) {
        ChannelTable t(dbGlobal::CurrentPath());
        std::vector<vktstore::FieldValue> v;
        for (int r = 0; r < 16; ++r) v.push_back(t.value(r, col));
        return v;
    }
    void setLabels(const std::string& prefix) {
        ChannelTable t(dbGlobal::CurrentPath());
        ChannelTable::Batch b(t);
        for (int r = 0; r < 16; ++r) t.setField(r, 5, prefix + std::to_string(r));
    }
    // What the Default command does: the screen saved as the last one first.
    void defaultKeepingTheLast() {
        clsDBUtil db(platform, &grid);
        db.currentToLast();
        db.setDefault();
    }
    // The sixteen rows as the table ships and Default puts them back; Blank leaves the frequencies 0.
    void expectDefaultRows(bool frequencies) {
        ChannelTable t(dbGlobal::CurrentPath());
        ASSERT_TRUE(t.connected()) << t.error();
        const double rx[4] = {162.4, 162.45, 162.5, 162.55};
        for (int r = 0; r < 16; ++r) {
            EXPECT_EQ(t.value(r, 0), Num(r + 1));
            EXPECT_EQ(t.value(r, 1).kind, vktstore::FieldValue::Kind::Number);
            EXPECT_NEAR(t.value(r, 1).number, frequencies ? rx[r % 4] : 0, 1e-9) << r;
            EXPECT_EQ(t.value(r, 2), Txt("0.0"));
            EXPECT_EQ(t.value(r, 3), Num(0));
            EXPECT_EQ(t.value(r, 5), Txt("00000000"));
        }
    }
};

} // namespace

TEST_F(DBUtilTest, TheShippedRowsAreTheDefaultsAndBlankClearsTheFrequencies) {
    expectDefaultRows(true);
    setLabels("L");
    clsDBUtil(platform, &grid).setBlank();
    expectDefaultRows(false);
    setLabels("L");
    clsDBUtil(platform, &grid).setDefault();
    expectDefaultRows(true);
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

TEST_F(DBUtilTest, DefaultTwiceMakesTheDefaultTheLastScreen) {
    setLabels("MINE");
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < 16; ++r) grid.setCellText(r, 5, column(5)[static_cast<size_t>(r)].text);
        defaultKeepingTheLast();
    }
    clsDBUtil(platform, &grid).lastToCurrent();
    EXPECT_EQ(column(5)[3], Txt("00000000"));
}

// Last Screen brings back what Default replaced, also after a restart; the
// sixteenth row as the grid shows it, the others as the table holds them.
TEST_F(DBUtilTest, LastScreenBringsBackWhatDefaultReplaced) {
    setLabels("DB");
    const std::string edited[] = {"155.00000", "D754", "0", "100.0", "EDITING"};
    for (int col = 1; col <= 5; ++col) grid.setCellText(15, col, edited[col - 1]);
    defaultKeepingTheLast();
    EXPECT_EQ(column(5)[0], Txt("00000000"));
    clsDBUtil(platform, &grid).lastToCurrent();  // a new instance, as after a restart
    ChannelTable t(dbGlobal::CurrentPath());
    for (int col : {1, 2, 4, 5}) EXPECT_EQ(t.value(15, col), Txt(edited[col - 1])) << col;
    EXPECT_EQ(t.value(7, 5), Txt("DB7"));
    EXPECT_EQ(t.value(14, 5), Txt("DB14"));
}

TEST_F(DBUtilTest, MissingLastScreenShowsBothMessagesAndFillStillWorks) {
    std::filesystem::remove(dbGlobal::LastPath());
    setLabels("MINE");
    platform.answer(Answer::OK, "Open Database Error = unable to open database file");
    platform.answer(Answer::OK, "Current to Last Error = unable to open database file");
    defaultKeepingTheLast();
    EXPECT_EQ(column(5)[0], Txt("00000000"));

    setLabels("MINE");
    platform.answer(Answer::OK, "Open Database Error = unable to open database file");
    platform.answer(Answer::OK, "Last to Current Error = unable to open database file");
    clsDBUtil(platform, &grid).lastToCurrent();
    EXPECT_EQ(column(5)[0], Txt("MINE0"));  // nothing changed
    EXPECT_FALSE(std::filesystem::exists(dbGlobal::LastPath()));
}

TEST_F(DBUtilTest, CorruptCurrentDatabaseIsAClearMessage) {
    writeBytes(dbGlobal::CurrentFile, std::string(8192, '\x17'));
    platform.answer(Answer::OK, "Open Database Error = file is not a database");
    platform.answer(Answer::OK, "Set Balnk DB Error = file is not a database");
    clsDBUtil(platform, &grid).setBlank();
    for (const auto& b : platform.boxes) EXPECT_EQ(b.icon, vkt::Icon::None);
}
