// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Keys.h"
#include "tests/editor/EditorFixture.h"

using namespace vkteditor;

TEST_F(EditorTest, ALetterInAFrequencyBeepsAtOnce) {
    main->moveGrid(2, 3);
    ASSERT_FALSE(main->gridEditor.Grid_BeforeColEdit(3));  // "000.00" is numeric: saved as 0
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
    main->moveGrid(5, 3);
    main->gridEditor.Grid_BeforeColEdit(3);
    main->gridEditor.Grid_KeyUp('S');
    EXPECT_EQ(cell(5, 3), "150.00000");
    EXPECT_EQ(cell(6, 3), "000.00");
    main->gridEditor.Grid_KeyUp('C');
    for (int r = 0; r < 16; ++r) EXPECT_EQ(cell(r, 3), cell(r, 1)) << r;
    EXPECT_EQ(grid().Row(), 0);
    EXPECT_EQ(grid().Col(), 0);
    // In the receive column they are ordinary typing.
    main->moveGrid(1, 1);
    main->gridEditor.Grid_BeforeColEdit(1);
    main->Grid.setCellText(1, 1, "155.00000");
    main->gridEditor.Grid_KeyUp('C');
    EXPECT_EQ(cell(1, 3), "162.45000");
    // The channel guard column copies too.
    main->moveGrid(0, 4);
    main->gridEditor.Grid_BeforeColEdit(4);
    main->Grid.setCellText(0, 2, "D023-");
    main->gridEditor.Grid_KeyUp('S');
    EXPECT_EQ(cell(0, 4), "D023-");
}

TEST_F(EditorTest, ChanIsNeverEditedAndHomeGoesToTheReceiveFrequency) {
    EXPECT_TRUE(main->gridEditor.Grid_BeforeColEdit(0));
    EXPECT_FALSE(main->gridEditor.Grid_BeforeColEdit(5));
    main->moveGrid(3, 5);
    EXPECT_TRUE(main->gridEditor.Grid_KeyDown(KeyHome));
    main->gridEditor.Grid_KeyUp(KeyHome);
    EXPECT_EQ(grid().Col(), 1);
}
