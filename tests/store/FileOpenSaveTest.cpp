// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstring>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "store/FileOpenSave.h"
#include "store/FileWriter.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/SystemCalls.h"

using vkt::Answer;
using vktstore::FileOpenSave;
using VKTCore::MemoryImage;

namespace {

class FakeWindow : public vktstore::SetupWindow {
public:
    void storeShownGroup() override { ++stored; }
    void showShownGroup() override { ++shown; }
    bool globalsWindowOpen() const override { return globalsOpen; }
    void storeGlobals() override { ++globalsStored; }
    void showGlobals() override { ++globalsShown; }
    void setCaption(const std::string& c) override { caption = c; }
    int stored = 0, shown = 0, globalsStored = 0, globalsShown = 0;
    bool globalsOpen = false;
    std::string caption = "VKTEDWIN  -  VKT Editor";
};

class SetupFileTest : public StoreTest {
protected:
    SetupFileTest() {
        MemoryImage.fill(0);
        WriteDefaults::WriteAllDefaults();
    }
    std::string imageBytes() const { return std::string(MemoryImage.begin(), MemoryImage.end()); }

    FakeWindow window;
    FileOpenSave files{platform, window};
};

} // namespace

TEST_F(SetupFileTest, SaveRightAfterStartUpWritesTheFactoryImage) {
    platform.dialogAnswers.push_back(path("radio.vkt"));
    files.SaveSetup();
    EXPECT_EQ(readBytes("radio.vkt"), imageBytes());  // all 6019 bytes
    EXPECT_EQ(window.stored, 1);
    EXPECT_EQ(window.caption, "VKT File - " + path("radio.vkt") + "   VKT Editor   " + vktstore::MakerNotice);
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "File", "LastOpen", ""), path("radio.vkt"));
    EXPECT_EQ(files.ReportFileName, path("radio.vkt"));
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(platform.dialogs[0].forSave);
    EXPECT_EQ(platform.dialogs[0].filter, "VKT (*.vkt)|*.vkt|Frequency (*.frq)|*.frq|All (*.*)|*.*");
}

TEST_F(SetupFileTest, SaveAfterOpenAsksNothingAndSaveAsAlwaysAsks) {
    writeBytes("a.vkt", imageBytes());
    platform.dialogAnswers.push_back(path("a.vkt"));
    files.OpenSetup();
    MemoryImage[300] = 0x42;
    files.SaveSetup();
    EXPECT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(readBytes("a.vkt")[300]), 0x42);
    platform.dialogAnswers.push_back(path("b.vkt"));
    files.SaveSetupAs();
    EXPECT_EQ(platform.dialogs.size(), 2u);
    EXPECT_EQ(platform.dialogs[1].fileName, path("a.vkt"));  // preset with the file in use
    EXPECT_EQ(readBytes("b.vkt"), imageBytes());
}

TEST_F(SetupFileTest, CancelledDialogsChangeNothing) {
    platform.dialogAnswers.push_back(std::nullopt);
    files.SaveSetup();
    platform.dialogAnswers.push_back(std::nullopt);
    files.OpenSetup();
    EXPECT_TRUE(files.SetupFileName.empty());
    EXPECT_EQ(window.stored, 0);
    EXPECT_EQ(window.caption, "VKTEDWIN  -  VKT Editor");

    // After a file is in use, a cancelled Open keeps it and Save still goes there.
    platform.dialogAnswers.push_back(path("kept.vkt"));
    files.SaveSetupAs();
    platform.dialogAnswers.push_back(std::nullopt);
    files.OpenSetup();
    files.SaveSetup();
    EXPECT_EQ(platform.dialogs.size(), 4u);
    EXPECT_EQ(files.SetupFileName, path("kept.vkt"));
}

// A setup file holds the radio's 6016 bytes and up to three more, ".frq" as ".vkt"; a file of any other size is
// some other file, refused with the image as it was.
TEST_F(SetupFileTest, OpenTakesOnlyAFileOfASetupsSize) {
    window.globalsOpen = true;
    const std::pair<size_t, int> sizes[] = {{6015, 62}, {6016, 0}, {6019, 0}, {6020, 59}, {70000, 59}};
    for (const auto& [size, number] : sizes) {
        MemoryImage.fill(0x77);
        const VKTCore::Image before = MemoryImage;
        std::string bytes(size, '\x02');
        bytes[6014] = '\x11';
        writeBytes("s.frq", bytes);
        platform.dialogAnswers.push_back(path("s.frq"));
        if (number) platform.answer(Answer::OK);
        const auto shown = window.shown;
        files.OpenSetup();
        EXPECT_FALSE(platform.dialogs.back().forSave);
        if (number) {
            EXPECT_EQ(platform.boxes.back().text, "Error Number " + std::to_string(number) + "!\r" + path("s.frq") + " holds " +
                                                      std::to_string(size) + " bytes: a setup file holds 6016 to 6019");
            EXPECT_EQ(MemoryImage, before) << size;
            EXPECT_EQ(window.shown, shown);
            continue;
        }
        EXPECT_EQ(MemoryImage[6014], 0x11);
        EXPECT_EQ(MemoryImage[6018], size == 6019 ? 2 : 0);  // the spare bytes a radio's file lacks are 0
        EXPECT_EQ(window.shown, shown + 1);
        EXPECT_EQ(window.globalsShown, window.shown);
    }
}

TEST_F(SetupFileTest, MissingFileShowsBothMessages) {
    platform.dialogAnswers.push_back(path("nothere.vkt"));
    platform.answer(Answer::OK);
    platform.answer(Answer::OK, "File Access Error!");
    files.OpenSetup();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text, "Error Number 53!\r" + std::string(std::strerror(ENOENT)) + ": " + path("nothere.vkt"));
    EXPECT_EQ(platform.boxes[0].icon, vkt::Icon::Exclamation);
    EXPECT_EQ(platform.boxes[1].title, "VKT Editor");
    EXPECT_TRUE(files.SetupFileName.empty());  // the name before the attempt is back
}

// A full disk stands in as a limit of 1000 bytes on the files this process writes.
TEST_F(SetupFileTest, FailedSaveKeepsTheOldFile) {
    const std::string old(6019, '\x5A');
    struct Case { const char* name; std::function<bool(const std::string&)> prepare; int number; };
    const Case cases[] = {
        {"nodir/x.vkt", [](const std::string&) { return true; }, 76},
        {"full.vkt", [&](const std::string& p) { std::ofstream(p, std::ios::binary) << old; return vkttest::LimitFileSize(1000); }, 61},
    };
    for (const Case& c : cases) {
        if (!c.prepare(path(c.name))) continue;  // no limit to the size of a file on Windows
        files.SetupFileName = path(c.name);
        files.PrevSetupFileName = path("previous.vkt");
        platform.answer(Answer::OK);
        EXPECT_FALSE(files.WriteSetupFile()) << c.name;
        vkttest::LimitFileSize(0);
        const std::string text = platform.boxes.back().text;
        EXPECT_EQ(text.rfind("Error Number " + std::to_string(c.number) + "!\r", 0), 0u) << text;
        EXPECT_EQ(files.SetupFileName, path("previous.vkt"));
    }
    if (std::filesystem::exists(path("full.vkt"))) { EXPECT_EQ(readBytes("full.vkt"), old); }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) EXPECT_EQ(entry.path().string().find(".saving"), std::string::npos) << entry.path();
}
