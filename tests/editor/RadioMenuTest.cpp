// SPDX-License-Identifier: GPL-3.0-or-later
#include <fstream>

#include "link/RadioCommands.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using VKTCom::RadioCommands;
using namespace VKTCore;

// Write Radio stores the open globals window, and sends page 0, only when
// the technician answers Yes.
TEST_F(EditorTest, WriteRadioSendsThePageZeroBytesOnlyWhenAsked) {
    for (const Answer globals : {Answer::No, Answer::Yes}) {
        port.sent.clear();
        main->mnuGlobals_Click();
        main->globalsForm.cboTalkBack.setListIndex(1);
        platform.answer(Answer::OK, RadioCommands::ConfirmWrite);
        platform.answer(globals, RadioCommands::AskGlobals);
        main->mnuWriteAll_Click();
        const auto w = wire();
        bool pageZero = false;
        for (size_t i = 0; i + 4 < w.size(); ++i) pageZero = pageZero || (w[i] == 209 && w[i + 1] == 0);
        EXPECT_EQ(pageZero, globals == Answer::Yes);
        EXPECT_EQ(image(155) & 0x20, globals == Answer::Yes ? 0x20 : 0);
        EXPECT_EQ(radio().eeprom[155] & 0x20, globals == Answer::Yes ? 0x20 : 0);
    }
}

TEST_F(EditorTest, CancelledConfirmationWritesNothingButStoresTheGroup) {
    main->txtPassWord.setText("111111");
    platform.answer(Answer::Cancel, RadioCommands::ConfirmWrite);
    main->mnuWriteGroup_Click();
    EXPECT_TRUE(wire().empty());
    EXPECT_EQ(image(GroupBase(0) + 38), 0x11);
}

TEST_F(EditorTest, FailedGroupReadAndWriteShowOnlyTheirMessages) {
    radio().faults.silent = true;
    main->txtGrpLab.setText("KEEP");
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookPromptText);
    main->mnuReadGroup_Click();
    EXPECT_EQ(main->txtGrpLab.Text(), "KEEP");
    EXPECT_EQ(main->statusText.Caption().find("Read group 1 from radio: cancelled after"), 0u) << main->statusText.Caption();
    platform.answer(Answer::OK, RadioCommands::ConfirmWrite);
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookPromptText);
    platform.answer(Answer::OK, RadioCommands::WriteGroupFailed);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(platform.boxes.size(), 4u);
    EXPECT_TRUE(main->Enabled());
}

// Verify reads the radio aside: the image, the window and the table stay as
// they were, and the box lists what differs from the setup on the screen.
TEST_F(EditorTest, VerifyRadioComparesTheRadioWithTheSetupShown) {
    main->mnuRead_Click();
    platform.answer(Answer::OK, RadioCommands::RadioMatches);
    main->mnuVerify_Click();
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 matches the setup shown");

    type(3, 1, "155.5");  // typed, not yet stored
    radio().eeprom[GroupBase(0) + 38] = 0x99;  // and the radio changed behind the editor's back
    const Image before = MemoryImage;
    const std::string typed = cell(3, 1);
    const size_t sent = port.sent.size();
    platform.answer(Answer::OK);
    main->mnuVerify_Click();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].title, RadioCommands::VerifyTitle);
    EXPECT_EQ(platform.boxes[1].text,
              "The radio differs from the setup shown in 2 settings:\r"
              "Group 1 Password: radio 990000, editor 000000\r"
              "Group 1 Ch 4 Rec Freq: radio 162.55000, editor 155.50000");
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 differs in 2 settings");
    EXPECT_EQ(MemoryImage, before);
    EXPECT_EQ(cell(3, 1), typed);
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    // Only a read went to the radio: no write command at all.
    for (size_t i = sent; i < port.sent.size(); ++i) ASSERT_NE(port.sent[i].byte, 212) << i;
    EXPECT_FALSE(main->proc.Loaded());
    radio().faults.silentFromBlock = 3;
    platform.answer(Answer::OK);
    main->mnuVerify_Click();
    EXPECT_EQ(main->statusText.Caption().rfind("Verify radio: failed after ", 0), 0u) << main->statusText.Caption();
}

// The status bar says what a write came to; a failed one says so too.
TEST_F(EditorTest, AFailedWriteSaysSoUnderTheWindow) {
    radio().faults.silentFromBlock = 10;
    platform.answer(Answer::OK, RadioCommands::ConfirmWrite);
    platform.answer(Answer::OK, VKTCom::Transfers::WriteErrorText);
    platform.answer(Answer::Cancel, VKTCom::Transfers::BlockFailedText);
    platform.answer(Answer::OK, RadioCommands::WriteGroupFailed);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption().rfind("Writing group 1 failed after ", 0), 0u) << main->statusText.Caption();
}

// Backups of every whole read, named before a write.
TEST_F(EditorTest, AReadLeavesABackupAndAWriteNamesIt) {
    main->keepBackupsIn((folder / "backups").string());
    main->mnuRead_Click();
    const auto latest = main->backups()->latestFor(vktsim::RadioModel::FastIdentity);
    ASSERT_TRUE(latest.has_value());
    EXPECT_NE(latest->find("radio-2AAA0105-"), std::string::npos);
    const std::string file = std::filesystem::path(*latest).filename().string();
    // In virtual time: the emulated radio takes as long as a real one.
    EXPECT_EQ(main->statusText.Caption(), "Read radio 2AAA0105: 6016 bytes in 7.5 s, backup " + file);
    platform.answer(Answer::Cancel);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption(), "Last backup of radio 2AAA0105: " + *latest);

    // A failed read leaves none.
    std::filesystem::remove(*latest);
    radio().faults.silentFromBlock = 3;
    platform.answer(Answer::OK);
    main->mnuRead_Click();
    EXPECT_FALSE(main->backups()->latestFor(vktsim::RadioModel::FastIdentity).has_value());
    EXPECT_EQ(main->statusText.Caption().rfind("Read radio: failed after ", 0), 0u) << main->statusText.Caption();

    // A radio heard on another port is not the one a write would reach.
    main->mnuCommPort_Click(2);
    platform.answer(Answer::Cancel);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption().find("2AAA0105"), std::string::npos) << main->statusText.Caption();
}

// Write Changes keeps the radio's read as its backup, writes only the blocks
// that differ from the setup shown, checks them, and says what it did; a
// Cancel in its read writes nothing, one in its write says what went.
TEST_F(EditorTest, WriteChangesWritesOnlyWhatDiffersAndSaysSo) {
    main->keepBackupsIn((folder / "backups").string());
    main->mnuRead_Click();
    type(3, 1, "155.5");   // group 1 channel 4
    type(15, 1, "155.6");  // and channel 16, another block
    const int ch4 = ChannelSlotAddress(0, 3) / 32, ch16 = ChannelSlotAddress(0, 15) / 32;
    auto written = [&](size_t from) {
        std::vector<int> blocks;
        for (size_t i = from; i + 1 < port.sent.size(); ++i)
            if (port.sent[i].byte == 212) blocks.push_back(port.sent[i + 1].byte), i += 33;
        return blocks;
    };
    auto sentBlocks = [&]() { return static_cast<int>(written(0).size()); };
    struct Case {
        std::function<bool()> cancelWhen;  // nothing: no Cancel
        std::vector<int> blocks;
        std::string said;
    };
    const Case cases[] = {
        {[&] { return main->proc.Prog1.Value() > 3000 && main->proc.lblInfo.Caption() == "Reading VKT Memory"; }, {},
         "its read was cancelled: nothing was written"},
        {[&] { return sentBlocks() == 1; }, {ch4}, "cancelled: block " + std::to_string(ch4) + " had been written, backup radio-2AAA0105-"},
        {{}, {ch16}, "1 block written and verified, backup radio-2AAA0105-"},  // the other went before
        {{}, {}, "already holds the setup shown: nothing written, backup radio-2AAA0105-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        port.sent.clear();
        platform.answer(Answer::OK, RadioCommands::ConfirmWrite);
        platform.answer(Answer::No, RadioCommands::AskGlobals);
        platform.onEvents = [&, done = false]() mutable {
            if (done || !c.cancelWhen || !c.cancelWhen()) return;
            done = true;
            if (!c.blocks.empty()) platform.answer(Answer::Yes, VKTCom::frmProc::CancelWriteQuestion);
            main->proc.CancelButton_Click();
        };
        main->mnuWriteChanges_Click();
        platform.onEvents = nullptr;
        EXPECT_EQ(written(0), c.blocks);
        const std::string status = main->statusText.Caption();
        EXPECT_EQ(status.rfind("Write changes to radio 2AAA0105 (", 0), 0u) << status;
        EXPECT_NE(status.find("): " + c.said), std::string::npos) << status;
        EXPECT_FALSE(port.isOpen());
        clock.advance(0.1);
        EXPECT_FALSE(radio().hooked());
    }
    // The backup is the radio as it was read.
    const auto latest = main->backups()->latestFor(vktsim::RadioModel::FastIdentity);
    ASSERT_TRUE(latest);
    std::ifstream f(*latest, std::ios::binary);
    const std::string backup{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    EXPECT_EQ(backup.substr(0, 6016), std::string(radio().eeprom.begin(), radio().eeprom.end()));
}
