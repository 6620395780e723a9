// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using vkteditor::frmGlobals;

TEST_F(EditorTest, GlobalsCloseBoxAsks) {
    auto& g = main->globalsForm;
    main->mnuGlobals_Click();
    g.cboLoPower.setListIndex(1);
    platform.answer(Answer::Cancel, frmGlobals::SaveQuestion);
    EXPECT_TRUE(g.Form_QueryUnload());
    EXPECT_EQ(g.cboLoPower.Text(), "Enabled");
    platform.answer(Answer::No, frmGlobals::SaveQuestion);
    EXPECT_FALSE(g.Form_QueryUnload());
    EXPECT_FALSE(main->globalsWindowOpen());
    main->mnuGlobals_Click();
    EXPECT_EQ(g.cboLoPower.Text(), "Disabled");  // read from the image again
    g.cboLoPower.setListIndex(1);
    platform.answer(Answer::Yes, frmGlobals::SaveQuestion);
    EXPECT_FALSE(g.Form_QueryUnload());
    EXPECT_EQ(image(155) & 0x40, 0x40);
}

// Read Radio refreshes the globals window only when it is open; Read Global
// Information always does.
TEST_F(EditorTest, ReadsRefreshTheGlobalsWindow) {
    const vkt::ComboBox& dtmf = main->globalsForm.cboDTMFDev;
    radio().eeprom[7] = 0x0F;
    main->mnuRead_Click();
    EXPECT_EQ(dtmf.Text(), "2906.25");  // closed: untouched
    main->mnuReadGlobal_Click();
    EXPECT_EQ(dtmf.Text(), "93.75");
    EXPECT_FALSE(main->globalsWindowOpen());
    main->mnuGlobals_Click();
    radio().eeprom[7] = 0xF8;
    main->mnuRead_Click();
    EXPECT_EQ(dtmf.Text(), "2906.25");
    VKTCore::MemoryImage[7] = 0x0F;
    main->globalsForm.mnuReadSettings_Click();
    EXPECT_EQ(dtmf.Text(), "93.75");
}
