// SPDX-License-Identifier: GPL-3.0-or-later
// The Global Parameters window through its real widgets.

#include <QGridLayout>
#include <QGroupBox>

#include "core/MemoryImage.h"
#include "tests/views/ViewFixture.h"

// The factory setup's position 16 holds group nibble F without the Global
// flag: the window shows no entry for it, and saving the window through its
// own menu keeps those bits rather than writing group 1.
TEST_F(ViewTest, ARotaryGroupThatNoEntryNamesShowsBlankAndIsKept) {
    action("Global Parameters")->trigger();
    QApplication::processEvents();
    QGroupBox* rotary = nullptr;
    for (auto* box : globalsView->findChildren<QGroupBox*>())
        if (box->title() == "Rotary Switch Assignments") rotary = box;
    ASSERT_TRUE(rotary);
    const auto combo = [rotary](int row) {
        return qobject_cast<QComboBox*>(static_cast<QGridLayout*>(rotary->layout())->itemAtPosition(row, 1)->widget());
    };
    EXPECT_EQ(combo(15)->currentText(), "Group 15");
    EXPECT_EQ(combo(16)->currentIndex(), -1);
    EXPECT_EQ(combo(16)->currentText(), "");
    for (QAction* a : globalsView->findChildren<QAction*>())
        if (a->text() == "Save Settings And Close Window") a->trigger();
    EXPECT_EQ(VKTCore::MemoryImage[143], 0xFF);
    EXPECT_EQ(VKTCore::MemoryImage[144] & 0x80, 0);
}
