// Backups of every read, and the serial trace, on the emulator.

#include <sstream>

#include "link/SerialTrace.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;

TEST_F(EditorTest, AReadLeavesABackupAndAWriteNamesIt) {
    main->keepBackupsIn((folder / "backups").string());
    main->mnuRead_Click();
    const auto latest = main->backups()->latestFor(vktsim::RadioModel::FastIdentity);
    ASSERT_TRUE(latest.has_value());
    EXPECT_NE(latest->find("radio-2AAA0105-"), std::string::npos);
    const std::string file = std::filesystem::path(*latest).filename().string();
    // In virtual time: the emulated radio takes as long as a real one.
    EXPECT_EQ(main->statusText.Caption(), "Read radio 2AAA0105: 6016 bytes in 8.1 s, backup " + file);
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

TEST(SerialTraceTest, AFailedHookShowsFourAttemptsAndTheirTimeOuts) {
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port(clock);
    std::ostringstream log;
    VKTCom::SerialTrace trace(port, log, [&clock] { return clock.now(); });
    vkttest::ScriptedPlatform platform(clock);
    platform.setSerialPort(trace);
    VKTCom::RadioLink link(platform);
    link.InitLinkParameters();
    link.onNote = [&trace](const std::string& t) { trace.note(t); };
    port.radio().faults.silent = true;
    platform.answer(Answer::Cancel);
    EXPECT_FALSE(link.HookRadio());
    const std::string text = log.str();
    for (int n = 1; n <= 4; ++n) EXPECT_NE(text.find("-- hook attempt " + std::to_string(n)), std::string::npos) << text;
    EXPECT_EQ(text.find("-- hook attempt 5"), std::string::npos);
    size_t timeouts = 0;
    for (size_t at = text.find("time-out"); at != std::string::npos; at = text.find("time-out", at + 1)) ++timeouts;
    EXPECT_EQ(timeouts, 4u);
    EXPECT_NE(text.find("> 00 00 00 00 00 00 00 00 00 00 0A 14 28\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    2.00"), std::string::npos) << text;  // time stamps in seconds: the fourth time-out
}
