// The Global Parameters window through its real widgets.

#include <QMenuBar>

#include "tests/qt/ViewFixture.h"

using vkt::Answer;

TEST_F(ViewTest, GlobalParametersOpensCentredAndWhole) {
    action("Global Parameters")->trigger();
    ASSERT_TRUE(globalsView->isVisible());
    const QRect screen = globalsView->screen()->availableGeometry();
    const QRect frame = globalsView->frameGeometry();
    EXPECT_TRUE(Centred(globalsView.get()));
    EXPECT_GE(frame.top(), screen.top());
    EXPECT_GE(frame.left(), screen.left());
    screenshot(globalsView.get(), "globals");
}

TEST_F(ViewTest, GlobalsCloseBoxCancelKeepsTheWindowAndItsEdits) {
    action("Global Parameters")->trigger();
    auto* nuisance = globalsView->findChildren<QComboBox*>().last();
    pickFromList(nuisance, 1);
    platform.answer(Answer::Cancel, "Save Global Parameters?");
    EXPECT_FALSE(globalsView->close());
    EXPECT_TRUE(globalsView->isVisible());
    EXPECT_EQ(main->globalsForm.cboNuisanceChan.Text(), "Enabled");
    platform.answer(Answer::Yes, "Save Global Parameters?");
    EXPECT_TRUE(globalsView->close());
    EXPECT_FALSE(main->globalsWindowOpen());
    EXPECT_EQ(VKTCore::MemoryImage[155] & 0x10, 0x10);
}
