// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window through its real widgets: over a disabled main
// window, its Cancel enabled only when asked for, reaching the model and
// never closing the window itself.

#include <QLabel>

#include "tests/views/ViewFixture.h"

TEST_F(ViewTest, ProgressCancelReachesTheModel) {
    main->proc.ShowForm("Reading VKT Memory", false);
    QApplication::processEvents();
    EXPECT_TRUE(procView->isVisible());
    EXPECT_EQ(procView->windowTitle(), "VKT Processing");
    EXPECT_EQ(procView->findChild<QLabel*>()->text(), "Reading VKT Memory");
    EXPECT_FALSE(view->centralWidget()->isEnabled());
    QPushButton* cancel = procView->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_FALSE(cancel->isEnabled());
    main->proc.EnableCancel();
    EXPECT_TRUE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(main->proc.Cancelled);
    EXPECT_TRUE(procView->isVisible());
    main->proc.Unload();
    main->proc.Unload();
    EXPECT_TRUE(view->centralWidget()->isEnabled());
    EXPECT_FALSE(procView->isVisible());
}
