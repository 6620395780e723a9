// SPDX-License-Identifier: GPL-3.0-or-later
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

    std::vector<vktstore::FieldValue> column(const std::string& path, int col) {
        ChannelTable t(path);
        std::vector<vktstore::FieldValue> v;
        for (int r = 0; r < 16; ++r) v.push_back(t.value(r, col));
        return v;
    }
    void setLabels(const std::string& prefix) {
        ChannelTable t(dbGlobal::CurrentPath());
        ChannelTable::Batch b(t);
        for (int r = 0; r < 16; ++r) t.setField(r, 5, prefix + std::to_string(r));
    }
};

} // namespace

TEST_F(DBUtilTest, DefaultAndBlankFillTheCurrentRows) {
    setLabels("L");
    clsDBUtil(platform, &grid).setBlank();
    for (const auto& v : column(dbGlobal::CurrentPath(), 1)) EXPECT_EQ(v, Num(0));
    for (const auto& v : column(dbGlobal::CurrentPath(), 5)) EXPECT_EQ(v, Txt("00000000"));
    clsDBUtil(platform, &grid).setDefault();
    const auto rx = column(dbGlobal::CurrentPath(), 1);
    const double expected[4] = {162.4, 162.45, 162.5, 162.55};
    for (int r = 0; r < 16; ++r) EXPECT_NEAR(rx[static_cast<size_t>(r)].number, expected[r % 4], 1e-9) << r;
    for (const auto& v : column(dbGlobal::CurrentPath(), 2)) EXPECT_EQ(v, Txt("0.0"));
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(DBUtilTest, DefaultTwiceMakesTheDefaultTheLastScreen) {
    setLabels("MINE");
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < 16; ++r) grid.setCellText(r, 5, column(dbGlobal::CurrentPath(), 5)[static_cast<size_t>(r)].text);
        clsDBUtil db(platform, &grid);
        db.currentToLast();
        db.setDefault();
    }
    clsDBUtil(platform, &grid).lastToCurrent();
    EXPECT_EQ(column(dbGlobal::CurrentPath(), 5)[3], Txt("00000000"));
}

// Last Screen brings back what Default replaced, also after a restart; the
// sixteenth row as the grid shows it, the others as the table holds them.
TEST_F(DBUtilTest, LastScreenBringsBackWhatDefaultReplaced) {
    setLabels("DB");
    const std::string edited[] = {"155.00000", "D754", "0", "100.0", "EDITING"};
    for (int col = 1; col <= 5; ++col) grid.setCellText(15, col, edited[col - 1]);
    {
        clsDBUtil db(platform, &grid);
        db.currentToLast();
        db.setDefault();
    }
    EXPECT_EQ(column(dbGlobal::CurrentPath(), 5)[0], Txt("00000000"));
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
    {
        clsDBUtil db(platform, &grid);
        db.currentToLast();
        db.setDefault();
    }
    EXPECT_EQ(column(dbGlobal::CurrentPath(), 5)[0], Txt("00000000"));

    setLabels("MINE");
    platform.answer(Answer::OK, "Open Database Error = unable to open database file");
    platform.answer(Answer::OK, "Last to Current Error = unable to open database file");
    clsDBUtil(platform, &grid).lastToCurrent();
    EXPECT_EQ(column(dbGlobal::CurrentPath(), 5)[0], Txt("MINE0"));  // nothing changed
    EXPECT_FALSE(std::filesystem::exists(dbGlobal::LastPath()));
}

TEST_F(DBUtilTest, CorruptCurrentDatabaseIsAClearMessage) {
    writeBytes(dbGlobal::CurrentFile, std::string(8192, '\x17'));
    platform.answer(Answer::OK, "Open Database Error = file is not a database");
    platform.answer(Answer::OK, "Set Balnk DB Error = file is not a database");
    clsDBUtil(platform, &grid).setBlank();
    for (const auto& b : platform.boxes) EXPECT_EQ(b.icon, vkt::Icon::None);
}
