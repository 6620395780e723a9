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
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 matches the setup shown");

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
              "Group 1 Password: radio 990000, editor 000000\r"
              "Group 1 Ch 4 Rec Freq: radio 162.55000, editor 155.50000");
    EXPECT_EQ(main->statusText.Caption(), "Radio 2AAA0105 differs in 2 settings");
    EXPECT_EQ(MemoryImage, before);
    EXPECT_EQ(cell(3, 1), typed);
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    for (size_t i = sent; i < port.sent.size(); ++i) ASSERT_NE(port.sent[i].byte, 212) << i;
    EXPECT_FALSE(main->proc.Loaded());
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

    // A radio heard on another port is not the one a write would reach.
    main->mnuCommPort_Click(2);
    platform.answer(Answer::Cancel);
    main->mnuWriteGroup_Click();
    EXPECT_EQ(main->statusText.Caption().find("2AAA0105"), std::string::npos) << main->statusText.Caption();
}
