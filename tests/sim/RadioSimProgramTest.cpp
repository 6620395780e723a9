// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated radio as a program (how it saves its files, and a line whose
// speed is not the radio's: SerialPtyTest), and inside the editor.

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include "app/EmulatedRadio.h"
#include "core/MemoryImage.h"
#include "sim/RadioModel.h"
#include "tests/support/PtyPlatform.h"
#include "tests/support/PtyRadioProcess.h"

// A link an earlier emulator left behind is taken over, and removed at the end
// (its pseudo-terminal numbered past any the kernel gives, so gone on any machine).
TEST(RadioSimProgram, TakesOverNoFileOfTheUsersAndNoLinkInUse) {
    QTemporaryDir dir;
    const QString link = dir.filePath("cable"), notes = dir.filePath("notes.txt");
    ASSERT_EQ(::symlink("/dev/pts/1048576", link.toLocal8Bit().constData()), 0);
    {
        PtyRadioProcess sim({"--link", link});
        EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), sim.device());
        const std::tuple<const char*, QString, QByteArray, const char*> cases[] = {
            {"--eeprom", notes, QByteArray(7000, 'x'), "notes.txt holds 7000 bytes: neither a radio's memory (6016) nor a setup file (6019)"},
            {"--link", notes, "a user's file", "is not a link to an emulated radio's device"},
            {"--link", link, {}, "which another running emulator holds"},
        };
        for (const auto& [option, path, contents, message] : cases) {
            if (!contents.isEmpty()) { ASSERT_TRUE(WriteBytes(path, contents)); }
            QProcess refused;
            refused.start(PtyRadioProcess::Program(), {option, path});
            ASSERT_TRUE(refused.waitForFinished(-1)) << message;
            EXPECT_EQ(refused.exitCode(), 2) << message;
            EXPECT_TRUE(QString(refused.readAllStandardError()).contains(message)) << message;
            if (!contents.isEmpty()) { EXPECT_EQ(FileBytes(path), contents) << message; }
        }
        EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), sim.device());
        ASSERT_TRUE(sim.stop());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

// Where there is no pseudo-terminal (Windows) the Emulated Radio item runs the
// radio inside the editor, on the wall clock.
TEST(EmulatedRadioInside, AGroupIsReadAndWrittenOnTheWallClock) {
    PtyPlatform platform("");
    QTemporaryDir dir;
    const auto emulator = MakeEmulatedRadio(platform, dir.path());
    platform.serialPort().setPortNumber(vkt::EmulatedPort);
    emulator->start();
    EXPECT_EQ(platform.describePort(vkt::EmulatedPort), vktqt::EmulatorInside);
    LinkOn l(platform);
    VKTCore::MemoryImage.fill(0);
    ASSERT_TRUE(l.transfers.ReadGroupMemory(1));
    const auto factory = vktsim::RadioModel::FactorySetup();
    EXPECT_TRUE(std::equal(factory.begin() + 256, factory.begin() + 256 + 384, VKTCore::MemoryImage.begin() + 256));
    VKTCore::MemoryImage[256 + 40] = 0x22;
    ASSERT_TRUE(l.transfers.WriteGroupMemory(1));
    const QByteArray saved = FileBytes(dir.filePath("emulated-radio.eeprom"));
    ASSERT_EQ(saved.size(), VKTCore::RadioMemorySize);
    EXPECT_EQ(saved[256 + 40], '\x22');
}
