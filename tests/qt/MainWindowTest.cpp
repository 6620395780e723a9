// The main window through its real widgets.

#include "tests/qt/ViewFixture.h"

using vkt::Answer;

TEST_F(ViewTest, MainWindowShowsTheFactorySetup) {
    EXPECT_EQ(view->windowTitle(), "VKTEDWIN  -  VKT Editor");
    EXPECT_EQ(shown(0, 1), "162.40000");
    EXPECT_EQ(shown(0, 5), "    Ch 1");
    EXPECT_EQ(grid()->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Ch Label");
    EXPECT_EQ(action("Read Radio")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(action("Write Current Group to Radio")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_FALSE(action("Read Current Group")->isVisible());
    screenshot(view.get(), "main");
}

// The road a technician takes: read the radio, pick a group from the list,
// type a frequency and write the group while the cell is still open.
TEST_F(ViewTest, APickFromTheGroupListSwitchesAtOnce) {
    pickFromList(groupBox(), 4);
    EXPECT_EQ(main->currentGroup, 4);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP5");
    // A shortcut right after the pick keeps it.
    press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(groupBox()->currentText(), "5");
    EXPECT_EQ(main->currentGroup, 4);

    groupBox()->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(main->currentGroup, 5);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP6");
}

TEST_F(ViewTest, ANumberTypedIntoTheGroupBoxNeverSwitches) {
    groupBox()->setFocus();
    groupBox()->lineEdit()->selectAll();
    type("7");
    EXPECT_EQ(groupBox()->currentText(), "7");
    EXPECT_EQ(platform.beeps, 0);
    press(Qt::Key_Return);
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(groupBox()->currentText(), "1");
    EXPECT_EQ(main->currentGroup, 0);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP1");

    groupBox()->lineEdit()->selectAll();
    type("x");
    EXPECT_EQ(platform.beeps, 2);
    EXPECT_EQ(groupBox()->currentText(), "1");
}
