// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioCommands.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using VKTCom::RadioCommands;
using namespace VKTCore;

TEST_F(EditorTest, AFailedGroupReadOrWriteShowsOnlyItsMessagesAndSaysSoUnderTheWindow) {
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
    EXPECT_EQ(main->statusText.Caption().rfind("Writing group 1 failed after ", 0), 0u) << main->statusText.Caption();
}

// Verify reads the radio aside: the image, the window and the table stay as they were.
TEST_F(EditorTest, VerifyRadioComparesTheRadioWithTheSetupShown) {
    main->mnuRead_Click();
    platform.answer(Answer::OK, RadioCommands::RadioMatches);
    main->mnuVerify_Click();
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 #5E4F matches the setup shown");

    type(3, 1, "155.5");  // typed, not yet stored
    radio().eeprom[GroupBase(0) + 38] = 0x99;  // and the radio changed behind the editor's back
    const Image before = MemoryImage;
    const std::string typed = cell(3, 1);
    const size_t sent = port.sent.size();
    platform.answer(Answer::OK);
    main->mnuVerify_Click();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].text,
              "The radio differs from the setup shown in 2 settings:\r"
              "Group 1 Password: radio 990000, editor 000000\rGroup 1 Ch 4 Rec Freq: radio 162.55000, editor 155.50000");
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 #5E4F differs in 2 settings");
    EXPECT_EQ(MemoryImage, before);
    EXPECT_EQ(cell(3, 1), typed);
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    for (size_t i = sent; i < port.sent.size(); ++i) ASSERT_NE(port.sent[i].byte, 212) << i;
    EXPECT_FALSE(main->proc.Loaded());
    // Past twenty, the box lists twenty and its details every one, as the windows show them and in their order.
    radio().eeprom[7] ^= 0x04;
    for (int c = 0; c < ChannelCount; ++c) {
        radio().eeprom[static_cast<size_t>(ChannelSlotAddress(1, c) + 1)] ^= 0x08;
        radio().eeprom[static_cast<size_t>(LabelSlotAddress(1, c) + 7)] = 0x0A;
    }
    platform.answer(Answer::OK);
    main->mnuVerify_Click();
    const std::string& all = platform.boxes.back().details;
    size_t twenty = 0;
    for (int i = 0; i < 20; ++i) twenty = all.find('\r', twenty + 1);
    EXPECT_EQ(platform.boxes.back().text, "The radio differs from the setup shown in 35 settings:\r" + all.substr(0, twenty) +
                                              "\r... and 15 more: all 35 are in the details");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\r'), 34) << all;
    EXPECT_EQ(all.rfind("ANI Rate: radio 20, editor 10\rGroup 1 Password: radio 990000, editor 000000\r"
                        "Group 1 Ch 4 Rec Freq: radio 162.55000, editor 155.50000\rGroup 2 Ch 1 Rec Freq: radio ", 0), 0u) << all;
    EXPECT_LT(all.find("Group 2 Ch 1 Label"), all.find("Group 2 Ch 2 Rec Freq"));
    EXPECT_TRUE(all.ends_with("Group 2 Ch 16 Label: radio \"   Ch 1A\", editor \"   Ch 16\"")) << all;
    radio().faults.silentFromBlock = 3;
    platform.answer(Answer::OK);
    main->mnuVerify_Click();
    EXPECT_EQ(main->statusText.Caption().rfind("Verify radio: failed after ", 0), 0u) << main->statusText.Caption();
}

TEST_F(EditorTest, AReadLeavesABackupAndAWriteNamesIt) {
    main->keepBackupsIn((folder / "backups").string());
    main->mnuRead_Click();
    const auto latest = main->backups()->latestFor(vktsim::RadioModel::FastIdentity);
    ASSERT_TRUE(latest.has_value());
    EXPECT_NE(latest->find("radio-2AAA0105-"), std::string::npos);
    const std::string file = std::filesystem::path(*latest).filename().string();
    // In virtual time: the emulated radio takes as long as a real one.
    EXPECT_EQ(main->statusText.Caption(), "Read radio 2AAA0105 #5E4F: 6016 bytes in 7.5 s, backup " + file);
    platform.answer(Answer::Cancel);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption(), "Last backup of radio 2AAA0105: " + *latest);

    // A failed read leaves none.
    std::filesystem::remove(*latest);
    radio().faults.silentFromBlock = 3;
    platform.answer(Answer::OK);
    main->mnuRead_Click();
    EXPECT_FALSE(main->backups()->latestFor(vktsim::RadioModel::FastIdentity).has_value());

    // A radio heard on another port is not the one a write would reach.
    main->mnuCommPort_Click(2);
    platform.answer(Answer::Cancel);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption().find("2AAA0105"), std::string::npos) << main->statusText.Caption();
}

// Write Changes answered No to the unit-wide settings sends none of them, however page 0 differs; and it
// reaches only the unit it read: another radio of the model (same identity, its own calibration) put on the
// cable after the read gets nothing, and one put there before the read-back is not compared.
TEST_F(EditorTest, WriteChangesReachesOnlyTheUnitReadWithOnlyWhatWasAskedFor) {
    main->mnuRead_Click();
    type(3, 1, "155.5");  // group 1 channel 4
    const int ch4 = ChannelSlotAddress(0, 3) / 32;
    struct Case {
        const char* swapAt;  // the progress window's text when another unit takes its place; nullptr: never
        std::vector<int> blocks;
        std::string said;
    };
    const Case cases[] = {
        {nullptr, {ch4}, "1 block written and verified"},
        {"Writing VKT Memory", {}, "the radio on the cable is not the one that was read (its calibration differs); nothing was written"},
        {RadioCommands::VerifyingText, {ch4},
         "block " + std::to_string(ch4) + " written, but the radio on the cable is not the one that was read (its calibration differs); nothing was compared"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        radio().eeprom[6] ^= 0x04;  // the battery saver, a unit-wide bit a write sends
        const size_t start = port.sent.size();
        platform.answer(Answer::OK, RadioCommands::ConfirmWrite);
        platform.answer(Answer::No, RadioCommands::AskGlobals);
        if (c.swapAt) platform.answer(Answer::OK, VKTCom::Transfers::OtherRadioText);
        platform.onEvents = [&, swapped = false]() mutable {
            if (swapped || !c.swapAt || main->proc.lblInfo.Caption() != c.swapAt) return;
            swapped = true;
            radio().eeprom[Page0::HighPowerDAC.offset] ^= 0x5A;
        };
        main->mnuWriteChanges_Click();
        platform.onEvents = nullptr;
        std::vector<int> blocks, masked;
        const auto w = wire();
        for (size_t i = start; i + 1 < w.size(); ++i) {
            if (w[i] == 212) blocks.push_back(w[i + 1]), i += 33;
            else if (w[i] == 209) masked.push_back(w[i + 1] * 256 + w[i + 2]), i += 4;
        }
        EXPECT_EQ(blocks, c.blocks);
        EXPECT_EQ(masked, std::vector<int>{});
        EXPECT_EQ(main->statusText.Caption().rfind("Write changes to radio 2AAA0105 #", 0), 0u) << main->statusText.Caption();
        EXPECT_NE(main->statusText.Caption().find("): " + c.said), std::string::npos) << main->statusText.Caption();
        released();
    }
}
