// SPDX-License-Identifier: GPL-3.0-or-later
// The tuning window through its real widgets, and the main window's close
// while a procedure holds the radio.

#include <QPushButton>

#include "views/TuneView.h"
#include "tests/views/ShownButton.h"
#include "tests/views/ViewFixture.h"
#include "tune/frmTune.h"

using vkt::Answer;

class TuneWindowTest : public ViewTest {
protected:
    TuneWindowTest() {
        main->showTune = [this] { VKTTune::ShowTuneWindow(platform, tune); };
        tune.holdsRadioChanged = [this](bool holds) { main->tuningHoldsRadio(holds); };
        platform.answer(Answer::OK);  // the warning
        action("&Tune")->trigger();
        QApplication::processEvents();
    }
    QPushButton* button(const QString& text) { return ShownButton(tuneView, text); }

    VKTTune::frmTune tune{platform, link};
    vktviews::TuneView tuneView{tune, view.get()};
};

TEST_F(TuneWindowTest, TheEditorStaysWhileAProcedureHoldsTheRadio) {
    const uint8_t lowPower = port.radio().eeprom[20];
    QTest::mouseClick(button("Set HIGH Power"), Qt::LeftButton);
    ASSERT_FALSE(tune.cmdTuneQuit.Enabled());
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(tuneView.isVisible());
    EXPECT_NE(main->statusText.Caption().find("tuning"), std::string::npos) << main->statusText.Caption();
    EXPECT_TRUE(platform.boxes.size() == 1);  // the warning only: nothing asked
    // Nor can the main window start a conversation of its own meanwhile.
    for (const char* item : {"Read Radio", "Write Radio", "Write Current Group to Radio", "Verify Radio", "Use Comm Port 2"})
        EXPECT_FALSE(action(item)->isEnabled()) << item;
    const size_t sent = port.sent.size();
    QTest::keyClick(view.get(), Qt::Key_F2);
    QApplication::processEvents();
    EXPECT_EQ(port.sent.size(), sent);

    QTest::mouseClick(button("Finished/Quit"), Qt::LeftButton);
    EXPECT_EQ(main->statusText.Caption(), "");  // the hold is over
    EXPECT_EQ(port.radio().eeprom[20], lowPower);
    EXPECT_TRUE(action("Read Radio")->isEnabled());
    platform.answer(Answer::No, "Save before exit?");
    EXPECT_TRUE(view->close());
}
