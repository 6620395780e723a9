// The Global Parameters window through its real widgets.

#include "tests/qt/ViewFixture.h"

TEST_F(ViewTest, GlobalParametersOpensCentredAndWhole) {
    action("Global Parameters")->trigger();
    ASSERT_TRUE(globalsView->isVisible());
    const QRect screen = globalsView->screen()->availableGeometry();
    const QRect frame = globalsView->frameGeometry();
    EXPECT_TRUE(Centred(globalsView.get()));
    EXPECT_GE(frame.top(), screen.top());
    EXPECT_GE(frame.left(), screen.left());
}
