// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Keys.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using namespace vkteditor;

TEST_F(EditorTest, ALetterInAFrequencyBeepsAtOnce) {
    ASSERT_FALSE(open(2, 3));  // "000.00" is numeric: saved as 0
    main->Grid.beginEdit(2, 3);
    main->Grid.setEditText("15x");
    for (int key : {KeyUp, KeyDown, KeyTab, KeyBack, KeyLeft, KeyRight, KeyReturn}) main->gridEditor.Grid_KeyUp(key);
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_EQ(cell(2, 3), "15x");
    main->gridEditor.Grid_KeyUp('X');
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(cell(2, 3), "000.00000");
}

TEST_F(EditorTest, CAndSCopyReceiveToTransmit) {
    main->Grid.setCellText(5, 1, "150.00000");
    open(5, 3);
    main->gridEditor.Grid_KeyUp('S');
    EXPECT_EQ(cell(5, 3), "150.00000");
    EXPECT_EQ(cell(6, 3), "000.00");
    main->gridEditor.Grid_KeyUp('C');
    for (int r = 0; r < 16; ++r) EXPECT_EQ(cell(r, 3), cell(r, 1)) << r;
    EXPECT_EQ(main->Grid.Row(), 0);
    EXPECT_EQ(main->Grid.Col(), 0);
    // In the receive column they are ordinary typing.
    open(1, 1);
    main->Grid.setCellText(1, 1, "155.00000");
    main->gridEditor.Grid_KeyUp('C');
    EXPECT_EQ(cell(1, 3), "162.45000");
    open(0, 4);
    main->Grid.setCellText(0, 2, "D023-");
    main->gridEditor.Grid_KeyUp('S');
    EXPECT_EQ(cell(0, 4), "D023-");
}

TEST_F(EditorTest, ChanIsNeverEditedAndHomeGoesToTheReceiveFrequency) {
    EXPECT_TRUE(open(3, 0));
    EXPECT_FALSE(open(3, 5));
    EXPECT_TRUE(main->gridEditor.Grid_KeyDown(KeyHome));
    main->gridEditor.Grid_KeyUp(KeyHome);
    EXPECT_EQ(main->Grid.Col(), 1);
}

// Another program may have used the clipboard meanwhile: activation empties
// it, and a Paste then says nothing was copied.
TEST_F(EditorTest, ActivationEmptiesTheClipboardAndDisablesPaste) {
    main->mnuRow_Click();
    EXPECT_TRUE(main->mnuPaste.Enabled());
    EXPECT_FALSE(platform.clipboard.empty());
    main->Form_Activate();
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_FALSE(main->mnuPaste.Enabled());
    main->Form_GotFocus();
    EXPECT_FALSE(main->mnuPaste.Enabled());
    platform.clipboard = "something from another program";
    platform.answer(Answer::OK, ClipboardCommands::NothingCopied);
    main->mnuPaste_Click();
    EXPECT_EQ(cell(0, 1), "162.40000");
}

TEST_F(EditorTest, DoubleClickCopiesAllButKeepsTheMode) {
    main->Grid_DblClick();
    main->Grid.setCellText(0, 5, "CHANGED");
    main->mnuPaste_Click();  // no menu copy since activation: nothing happens
    EXPECT_EQ(cell(0, 5), "CHANGED");
}

TEST_F(EditorTest, UndoPutsBackTheTextBeforeTheFirstKey) {
    // The first key reaches the grid before the cell opens, as a keyboard's does.
    const auto keyIn = [&](int row, int col, char first, const std::string& text) {
        main->moveGrid(row, col);
        main->gridEditor.Grid_Click();
        main->gridEditor.Grid_KeyDown(first);
        type(row, col, text);
    };
    keyIn(2, 5, 'F', "FIRE");
    main->mnuUndo_Click();
    EXPECT_EQ(cell(2, 5), "    Ch 3");
    EXPECT_EQ(main->statusText.Caption(), "Undone: Ch Label of row 3 put back");
    main->mnuUndo_Click();  // it can be repeated
    EXPECT_EQ(cell(2, 5), "    Ch 3");

    main->Grid.setCellText(1, 2, "D754");
    keyIn(1, 2, '1', "100.0");
    main->mnuUndo_Click();
    EXPECT_EQ(cell(1, 2), "D754");

    main->cboCurrentGroup.setListIndex(3);  // another group: nothing to undo
    main->cboCurrentGroup_Click();
    const std::string before = cell(1, 2);
    main->mnuUndo_Click();
    EXPECT_EQ(cell(1, 2), before);
}

TEST_F(EditorTest, PastedHugeNumbersDoNotOverflow) {
    main->clipboard.pasteRow("1\t1e400\t9e300\t-9e300\t5\tX\t1e300\t-1e300\tnan\r", 0);
    EXPECT_EQ(main->chkScan[0].Value(), 2147483647);
    EXPECT_EQ(main->chkNarr[0].Value(), -2147483647 - 1);
    EXPECT_EQ(main->chkLoPower[0].Value(), 0);
}
