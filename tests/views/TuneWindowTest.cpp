// SPDX-License-Identifier: GPL-3.0-or-later
// The tuning window through its real widgets, the main window's close while
// a procedure holds the radio, and the main road from the keyboard alone.

#include <QCheckBox>
#include <QTabBar>

#include "views/TuneView.h"
#include "tests/views/ViewFixture.h"
#include "tune/frmTune.h"

using vkt::Answer;

class TuneWindowTest : public ViewTest {
protected:
    TuneWindowTest() {
        main->showTune = [this] { VKTTune::ShowTuneWindow(platform, tune); };
        tune.holdsRadioChanged = [this](bool holds) { main->tuningHoldsRadio(holds); };
    }
    void openTune() {
        platform.answer(Answer::OK);  // the warning
        action("&Tune")->trigger();
        QApplication::processEvents();
    }
    QPushButton* button(const QString& text) { return ShownButton(tuneView, text); }
    // Tab moves the focus on until it reaches the control, as a keyboard
    // user gets there: within one pass round the window.
    static bool tabTo(const std::function<bool(QWidget*)>& wanted) {
        for (int i = 0; i < 400 && focus(); ++i) {
            if (wanted(focus())) return true;
            press(Qt::Key_Tab);
        }
        return false;
    }
    static bool tabTo(const QWidget* w) {
        return tabTo([w](QWidget* f) { return f == w; });
    }
    // A menu command by the keyboard: Alt and the menu's letter, the item
    // picked with the arrow keys.
    void menuKeys(Qt::Key letter, int downs) {
        press(letter, Qt::AltModifier);
        for (int i = 0; i < downs; ++i) QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
        if (QApplication::activePopupWidget()) QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }

    VKTTune::frmTune tune{platform, link};
    vktviews::TuneView tuneView{tune, view.get()};
};

TEST_F(TuneWindowTest, TheEditorStaysWhileAProcedureHoldsTheRadio) {
    openTune();
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

// Read, pick a group, edit a cell and the time-out, save, change a unit-wide
// setting, write, and tune: every step from the keyboard, each landing in the
// radio or file, and nothing else.
TEST_F(TuneWindowTest, TheMainRoadByKeyboardAlone) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 1) + 1)] = 0x08;  // 162.41 in group 1
    command(Qt::Key_F2);
    const vktsim::Eeprom read = port.radio().eeprom;
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) ASSERT_EQ(image(a), radioByte(a)) << a;
    EXPECT_EQ(shown(1, 1), "162.41000");

    ASSERT_TRUE(tabTo(groupBox()));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(main->currentGroup, 2);
    ASSERT_TRUE(tabTo(grid()));
    for (int i = 0; i < 8 && grid()->currentIndex().column() != 1; ++i)
        press(grid()->currentIndex().column() > 1 ? Qt::Key_Left : Qt::Key_Right);
    for (int i = 0; i < 16 && grid()->currentIndex().row() != 2; ++i)
        press(grid()->currentIndex().row() > 2 ? Qt::Key_Up : Qt::Key_Down);
    type("155.5");
    press(Qt::Key_Return);  // takes the cell and moves down
    EXPECT_EQ(shown(2, 1), "155.50000");
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(3, 1));
    ASSERT_TRUE(tabTo(view->findChild<QComboBox*>("cboTOT")));
    for (int i = 0; i < 4; ++i) press(Qt::Key_Down);  // OFF, 15, 30, 45, 60

    const std::string setup = (temp.path() / "keys.vkt").string();
    platform.dialogAnswers.push_back(setup);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(main->statusText.Caption(), "Saved " + setup);
    const int slot = VKTCore::ChannelSlotAddress(2, 2);
    EXPECT_EQ(FileBytes(setup, slot, 2), (std::vector<uint8_t>{0xAD, 0x70}));

    menuKeys(Qt::Key_E, 0);  // Edit > Global Parameters
    ASSERT_TRUE(globalsView->isVisible());
    activate(globalsView.get());
    ASSERT_TRUE(tabTo([](QWidget* w) { return qobject_cast<QCheckBox*>(w) != nullptr; }));
    press(Qt::Key_Space);
    menuKeys(Qt::Key_W, 0);  // Window > Save Settings And Close Window
    EXPECT_FALSE(globalsView->isVisible());
    activate(view.get());

    platform.answer(Answer::OK, "Are you sure you want to write to the radio?");
    platform.answer(Answer::Yes, "Write Global Parameters?");
    command(Qt::Key_F3);
    std::vector<int> changed;
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a)
        if (radioByte(a) != read[static_cast<size_t>(a)]) changed.push_back(a);
    ASSERT_EQ(changed.size(), 4u);
    EXPECT_LT(changed[0], VKTCore::GroupBase(0));  // the unit-wide box
    EXPECT_EQ(std::vector<int>(changed.begin() + 1, changed.end()), (std::vector<int>{VKTCore::GroupBase(2) + 45, slot, slot + 1}));
    EXPECT_EQ(radioByte(VKTCore::GroupBase(2) + 45), 0x40);
    EXPECT_EQ(main->statusText.Caption().rfind("Wrote the setup to radio 2AAA0105 in ", 0), 0u) << main->statusText.Caption();
    EXPECT_EQ(platform.beeps, 2);  // the ends of the read and of the write

    const vktsim::Eeprom written = port.radio().eeprom;
    platform.answer(Answer::OK);  // the tuning warning
    press(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(tuneView.isVisible());
    activate(&tuneView);
    auto* tabs = tuneView.findChild<QTabBar*>();
    ASSERT_TRUE(tabTo(tabs));
    press(Qt::Key_Right);
    EXPECT_EQ(tune.TabStrip1.SelectedIndex(), 1);
    ASSERT_TRUE(tabTo(button("Quit")));
    press(Qt::Key_Space);
    EXPECT_FALSE(tuneView.isVisible());
    EXPECT_EQ(port.radio().eeprom, written);
    EXPECT_EQ(main->statusText.Caption(), "");
}
