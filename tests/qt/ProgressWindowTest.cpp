// The progress window through its real widgets.

#include <QPushButton>

#include "tests/qt/ViewFixture.h"

TEST_F(ViewTest, ProgressCancelReachesTheModel) {
    main->proc.ShowForm("Reading VKT Memory", false);
    main->proc.EnableCancel();
    QApplication::processEvents();
    EXPECT_TRUE(procView->isVisible());
    EXPECT_FALSE(view->centralWidget()->isEnabled());
    QPushButton* cancel = nullptr;
    for (auto* b : procView->findChildren<QPushButton*>())
        if (b->text() == "Cancel") cancel = b;
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(main->proc.Cancelled);
    main->proc.Unload();
    EXPECT_TRUE(view->centralWidget()->isEnabled());
    EXPECT_FALSE(procView->isVisible());
}
