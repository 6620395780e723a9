#include "tests/link/LinkFixture.h"

using vkt::Answer;

TEST_F(LinkTest, ProgressWindowDisablesItsOwnerWhileLoaded) {
    mainWindow.move(1000, 2000);
    proc.ShowForm("Reading VKT Memory", false);
    EXPECT_TRUE(proc.Visible());
    EXPECT_FALSE(mainWindow.Enabled());
    EXPECT_EQ(proc.Left(), 1500);
    EXPECT_EQ(proc.Top(), 2500);
    EXPECT_EQ(proc.Caption(), "VKT Processing");
    EXPECT_EQ(proc.lblInfo.Caption(), "Reading VKT Memory");
    EXPECT_FALSE(proc.CancelButton.Enabled());
    proc.EnableCancel();
    EXPECT_TRUE(proc.CancelButton.Enabled());
    proc.CancelButton_Click();
    EXPECT_TRUE(proc.Cancelled);
    EXPECT_TRUE(proc.Visible());  // Cancel never closes the window itself
    proc.Unload();
    proc.Unload();
    EXPECT_TRUE(mainWindow.Enabled());
    EXPECT_FALSE(proc.Visible());
}

TEST_F(LinkTest, ProgressWindowKeepsADisabledOwnerDisabled) {
    mainWindow.setEnabled(false);
    proc.ShowForm("x", false);
    proc.Unload();
    EXPECT_FALSE(mainWindow.Enabled());
}

TEST_F(LinkTest, CancellingAWriteAsksAndOnlyYesCancels) {
    proc.ShowForm("Writing VKT Memory", true);
    proc.EnableCancel();
    platform.answer(Answer::No, VKTCom::frmProc::CancelWriteQuestion);
    proc.CancelButton_Click();
    EXPECT_FALSE(proc.Cancelled);
    platform.answer(Answer::Yes, VKTCom::frmProc::CancelWriteQuestion);
    proc.CancelButton_Click();
    EXPECT_TRUE(proc.Cancelled);
    EXPECT_EQ(platform.boxes[0].buttons, vkt::Buttons::YesNo);
    EXPECT_EQ(platform.boxes[0].title, "VKT Editor");
}
