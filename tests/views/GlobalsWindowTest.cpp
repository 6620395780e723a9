// SPDX-License-Identifier: GPL-3.0-or-later
// The Global Parameters window through its real widgets.

#include <QGridLayout>
#include <QGroupBox>

#include "tests/views/ViewFixture.h"

// The factory setup's position 16 holds group nibble F without the Global
// flag: the window shows no entry for it, and saving the window through its
// own menu keeps those bits rather than writing group 1. Closed without
// saving, the window is only hidden: it keeps its edits for the next time.
TEST_F(ViewTest, GlobalsWindowKeepsHiddenEditsAndARotaryGroupNoEntryNames) {
    const auto item = [this](const QString& text) {
        for (QAction* a : globalsView->findChildren<QAction*>())
            if (a->text() == text) a->trigger();
    };
    auto& g = main->globalsForm;
    EXPECT_FALSE(main->globalsWindowOpen());
    action("Global Parameters")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(g.Caption(), "Group '0' Globals  -  VKT Editor   ");
    g.cboTalkBack.setListIndex(1);
    item("Close Window Without Saving");
    EXPECT_FALSE(globalsView->isVisible());
    EXPECT_TRUE(main->globalsWindowOpen());
    action("Global Parameters")->trigger();
    EXPECT_EQ(g.cboTalkBack.Text(), "Enabled");  // not read again
    EXPECT_EQ(image(155) & 0x20, 0);
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
    item("Save Settings And Close Window");
    EXPECT_EQ(image(143), 0xFF);
    EXPECT_EQ(image(144) & 0x80, 0);
    EXPECT_EQ(image(155) & 0x20, 0x20);
}
