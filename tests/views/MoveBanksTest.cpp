// The Move Banks dialog through its real widgets: every way out but OK leaves
// the main window as it was.

#include "tests/views/ShownButton.h"
#include "tests/views/ViewFixture.h"

TEST_F(ViewTest, LeavingMoveBanksWithoutOKKeepsTheUnsavedEdits) {
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"Esc", [] { press(Qt::Key_Escape); }},
        {"close box", [this] { moveView->close(); }},
        {"Cancel", [this] { QTest::mouseClick(ShownButton(*moveView, "Cancel"), Qt::LeftButton); }},
    };
    for (const Way& way : ways) {
        activate(view.get());
        clickCell(2, 5);
        type("FIRE");
        press(Qt::Key_Return);
        QLineEdit* password = typeInto("txtPassWord", "424242");
        const auto image = VKTCore::MemoryImage;

        press(Qt::Key_M, Qt::ControlModifier);
        ASSERT_TRUE(moveView->isVisible()) << way.name;
        EXPECT_TRUE(Centred(moveView.get())) << way.name;
        activate(moveView.get());
        way.leave();
        QApplication::processEvents();
        EXPECT_FALSE(moveView->isVisible()) << way.name;
        EXPECT_EQ(shown(2, 5), "FIRE") << way.name;
        EXPECT_EQ(password->text(), "424242") << way.name;
        EXPECT_EQ(VKTCore::MemoryImage, image) << way.name;
    }
}
