// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Keys.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using vkteditor::ClipboardCommands;
using namespace vkteditor;

// Another program may have used the clipboard meanwhile: activation empties
// it, and a Paste then says nothing was copied.
TEST_F(EditorTest, ActivationEmptiesTheClipboardAndDisablesPaste) {
    main->mnuRow_Click();
    EXPECT_TRUE(main->mnuPaste.Enabled());
    EXPECT_FALSE(platform.clipboard.empty());
    main->Form_Activate();
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_FALSE(main->mnuPaste.Enabled());
    EXPECT_EQ(main->clipboard.copiedLength, -1);
    main->Form_GotFocus();
    EXPECT_FALSE(main->mnuPaste.Enabled());
    platform.clipboard = "something from another program";
    platform.answer(Answer::OK, ClipboardCommands::NothingCopied);
    main->mnuPaste_Click();
    EXPECT_EQ(cell(0, 1), "162.40000");
}

TEST_F(EditorTest, DoubleClickCopiesAllButKeepsTheMode) {
    main->Grid_DblClick();
    EXPECT_FALSE(main->clipboard.allCopied);
    EXPECT_FALSE(main->clipboard.rowCopied);
    main->Grid.setCellText(0, 5, "CHANGED");
    main->mnuPaste_Click();  // no menu copy since activation: nothing happens
    EXPECT_EQ(cell(0, 5), "CHANGED");
}

TEST_F(EditorTest, UndoPutsBackTheTextBeforeTheFirstKey) {
    main->moveGrid(2, 5);
    main->gridEditor.Grid_Click();
    main->gridEditor.Grid_KeyDown('F');
    type(2, 5, "FIRE");
    main->mnuUndo_Click();
    EXPECT_EQ(cell(2, 5), "    Ch 3");
    EXPECT_EQ(main->statusText.Caption(), "Undone: Ch Label of row 3 put back");
    main->mnuUndo_Click();  // it can be repeated
    EXPECT_EQ(cell(2, 5), "    Ch 3");

    main->Grid.setCellText(1, 2, "D754");
    main->moveGrid(1, 2);
    main->gridEditor.Grid_Click();
    main->gridEditor.Grid_KeyDown('1');
    type(1, 2, "100.0");
    main->mnuUndo_Click();
    EXPECT_EQ(cell(1, 2), "D754");

    pick(3);  // another group: nothing to undo
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
