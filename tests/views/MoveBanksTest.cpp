// SPDX-License-Identifier: GPL-3.0-or-later
// The Move Banks and Import Channel Plan dialogs through their real widgets:
// every way out but a move (Replace) leaves the main window as it was.

#include <QCheckBox>
#include <QLabel>

#include <fstream>

#include "core/ChannelPlan.h"
#include "tests/views/ViewFixture.h"
#include "views/PlanImportView.h"

TEST_F(ViewTest, LeavingMoveBanksWithoutAMoveKeepsTheUnsavedEdits) {
    auto okWith = [this](const QString& from, const QString& to) {
        for (const auto& [box, bank] : {std::pair{"cboFromBank", from}, {"cboToBank", to}}) {
            moveView->findChild<QComboBox*>(box)->setFocus();
            moveView->findChild<QComboBox*>(box)->lineEdit()->selectAll();
            type(bank);
        }
        QTest::mouseClick(ShownButton(*moveView, "OK"), Qt::LeftButton);
    };
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"Esc", [] { press(Qt::Key_Escape); }},
        {"close box", [this] { moveView->close(); }},
        {"Cancel", [this] { QTest::mouseClick(ShownButton(*moveView, "Cancel"), Qt::LeftButton); }},
        {"OK, no such bank", [&] { okWith("16", "1"); }},
        {"OK, bank 0", [&] { okWith("0", "3"); }},
        {"OK, no number", [&] { okWith("x", "2"); }},
        {"OK, a bank onto itself", [&] { okWith("3", "3"); }},
    };
    EXPECT_EQ(moveView->windowTitle(), "Move Banks");
    EXPECT_EQ(moveView->findChild<QComboBox*>("cboFromBank")->currentText(), "15");
    EXPECT_EQ(moveView->findChild<QComboBox*>("cboToBank")->currentText(), "1");
    for (const Way& way : ways) {
        activate(view.get());
        enter(2, 5, "FIRE");
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

// Export writes the setup with the shown group's edits. A file that is no
// plan is said at once; the dialog says what a channel list replaces in the
// group shown, or why it cannot; Replace shows the channels at once and Undo
// takes them back, until something else changes.
TEST_F(ViewTest, ExportAndImportChannelPlanShowsWhatItReplacesAndUndoPutsItBack) {
    const std::string out = (folder / "out.csv").string();
    enter(4, vkt::ColChLabel, "FIRE");
    for (const auto& [item, format] : {std::pair{"&Incident Radio Communications Plan (ICS 205)...", VKTCore::PlanFormat::IncidentPlan},
                                       {"&Channel List...", VKTCore::PlanFormat::ChannelList}}) {
        platform.dialogAnswers.push_back(out);
        action(item)->trigger();
        std::ifstream in(out, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), VKTCore::WritePlan(VKTCore::MemoryImage, format)) << item;
        EXPECT_NE(VKTCore::WritePlan(VKTCore::MemoryImage, format).find(",FIRE,"), std::string::npos) << item;
    }
    vktviews::PlanImportView importView(main->planImport, view.get());
    std::ofstream(out) << "Name,Phone\nJ. Doe,555\n";
    platform.dialogAnswers.push_back(out);
    platform.answer(vkt::Answer::OK, out + ":\rno line names the columns of a plan: an incident plan's \"Ch #\" and \"RX Freq\", or a "
                                           "channel list's \"Location\" and \"Frequency\"");
    action("&Import Channel Plan...")->trigger();
    EXPECT_FALSE(importView.isVisible());

    const std::string plan = (folder / "list.csv").string();
    std::ofstream(plan, std::ios::binary) << "\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n"
                                             "2,ENGINE 12 TAC,151.2500,+,0.6,Tone,100.0,NFM\r\n3,RESCUE,151.5000,,,,,FM\r\n";
    const auto image = VKTCore::MemoryImage;
    const QString txBefore = shown(1, vkt::ColTxFreq);
    auto* changes = importView.findChild<QLabel*>("lblChanges");
    const auto open = [&] {
        platform.dialogAnswers.push_back(plan);
        action("&Import Channel Plan...")->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(importView.isVisible());
        activate(&importView);
    };
    open();
    EXPECT_EQ(importView.findChild<QComboBox*>("cboGroup")->currentText(), "1");
    EXPECT_FALSE(ShownButton(importView, "Replace")->isEnabled());
    EXPECT_EQ(changes->text(), "Nothing can be imported:\nline 2, column Name: \"ENGINE 12 TAC\" has more than 8 characters (or choose to "
                               "cut names to 8)");
    QTest::mouseClick(importView.findChild<QCheckBox*>("chkCutNames"), Qt::LeftButton);
    EXPECT_EQ(changes->text(), "Replaces these channels of the setup:\ngroup 1: channels 2-3\nNames cut to 8 characters:\n"
                               "line 2: \"ENGINE 12 TAC\" cut to \"ENGINE 1\"");
    press(Qt::Key_Escape);
    EXPECT_FALSE(importView.isVisible());
    EXPECT_EQ(VKTCore::MemoryImage, image);

    activate(view.get());
    open();
    QTest::mouseClick(importView.findChild<QCheckBox*>("chkCutNames"), Qt::LeftButton);
    QTest::mouseClick(ShownButton(importView, "Replace"), Qt::LeftButton);
    activate(view.get());
    EXPECT_FALSE(importView.isVisible());
    EXPECT_EQ(shown(1, vkt::ColRecFreq), "151.25000");
    EXPECT_EQ(shown(1, vkt::ColTxFreq), "151.85000");
    EXPECT_EQ(shown(1, vkt::ColTxCG), "100.0");
    EXPECT_EQ(shown(1, vkt::ColChLabel).trimmed(), "ENGINE 1");
    EXPECT_EQ(shown(2, vkt::ColChLabel).trimmed(), "RESCUE");
    clickCell(4, vkt::ColRecFreq);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(VKTCore::MemoryImage, image);
    EXPECT_EQ(shown(1, vkt::ColTxFreq), txBefore);

    activate(view.get());
    open();
    QTest::mouseClick(importView.findChild<QCheckBox*>("chkCutNames"), Qt::LeftButton);
    QTest::mouseClick(ShownButton(importView, "Replace"), Qt::LeftButton);
    activate(view.get());
    typeInto("txtGrpLab", "NORTH");
    clickCell(4, vkt::ColRecFreq);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(main->txtGrpLab.Text(), "NORTH");
    EXPECT_EQ(shown(2, vkt::ColChLabel).trimmed(), "RESCUE");
}
