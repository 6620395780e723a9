#include "tests/link/LinkFixture.h"

TEST_F(LinkTest, ProgressWindowKeepsADisabledOwnerDisabled) {
    mainWindow.setEnabled(false);
    proc.ShowForm("x", false);
    proc.Unload();
    EXPECT_FALSE(mainWindow.Enabled());
}
