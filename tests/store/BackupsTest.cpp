// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Backups.h"
#include "store/Environment.h"
#include "store/FileReader.h"
#include "store/Paths.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/SystemCalls.h"

using vktstore::Backups;

const std::array<uint8_t, 4> Id{0x2A, 0xAA, 0x01, 0x05};
const auto Now = Backups::Clock::from_time_t(1796500000);  // late 2026

// In a data folder under a user's name outside ASCII, on every system, named
// by the environment as the programs are told theirs.
TEST_F(StoreTest, BackupsAreNamedByRadioAndTimeAndPrunedAfterAYear) {
    vkttest::SetEnvironment("VKT_TEST_DATA_FOLDER", path("Jürgen Müller 設定"));
    Backups b(vktstore::Environment("VKT_TEST_DATA_FOLDER") + "/backups");
    EXPECT_EQ(b.folder(), path("Jürgen Müller 設定") + "/backups");
    VKTCore::Image image{};
    image[7] = 0xF8;
    const auto old = b.save(image, Id, "all", Now - std::chrono::hours(24 * 400));
    const auto recent = b.save(image, Id, "group3", Now - std::chrono::hours(24));
    const auto other = b.save(image, {1, 2, 3, 4}, "all", Now);
    ASSERT_TRUE(old && recent && other);
    EXPECT_NE(recent->find("radio-2AAA0105-"), std::string::npos);
    EXPECT_NE(recent->find("-group3.vkt"), std::string::npos);
    std::vector<uint8_t> bytes;
    vktstore::FileError error;
    ASSERT_TRUE(vktstore::ReadSetupBytes(*recent, bytes, error)) << error.description;
    EXPECT_EQ(bytes, std::vector<uint8_t>(image.begin(), image.end()));
    EXPECT_EQ(b.latestFor(Id), recent);
    EXPECT_EQ(b.prune(Now), 1);
    EXPECT_FALSE(std::filesystem::exists(vktstore::PathOf(*old)));
    EXPECT_TRUE(std::filesystem::exists(vktstore::PathOf(*recent)));
    EXPECT_TRUE(std::filesystem::exists(vktstore::PathOf(*other)));
    EXPECT_EQ(b.latestFor(Id), recent);
    EXPECT_FALSE(b.latestFor({9, 9, 9, 9}).has_value());
}

// The backups folder and its files are the program's own: a link planted in the data folder in place of either
// is not followed, and pruning takes nothing but old regular files named as backups are. Where no link can be
// made (Windows without the privilege), the links' parts alone are left out.
TEST_F(StoreTest, BackupsNeverFollowALinkAndPruneOnlyTheirOwnFiles) {
    const bool canLink = vkttest::CanLink(folder.string());
    const VKTCore::Image image{};
    writeBytes("victim", "untouched");
    Backups b(path("backups"));
    const auto first = b.save(image, Id, "all", Now);
    ASSERT_TRUE(first);
    std::filesystem::create_directory(path("elsewhere"));
    if (canLink) {
        std::filesystem::remove(vktstore::PathOf(*first));
        std::filesystem::create_symlink(path("victim"), vktstore::PathOf(*first));
        ASSERT_EQ(b.save(image, Id, "all", Now), first);
        EXPECT_FALSE(std::filesystem::is_symlink(vktstore::PathOf(*first)));
        EXPECT_EQ(std::filesystem::file_size(vktstore::PathOf(*first)), 6019u);
        EXPECT_EQ(readBytes("victim"), "untouched");

        std::filesystem::create_directory_symlink(path("elsewhere"), path("linked-backups"));
        EXPECT_FALSE(Backups(path("linked-backups")).save(image, Id, "all", Now));
        EXPECT_TRUE(std::filesystem::is_empty(path("elsewhere")));
        EXPECT_EQ(Backups(path("linked-backups")).prune(Now), 0);
    }

    const std::string old = "backups/radio-2AAA0105-20200101-000000-all";
    std::vector<std::string> kept = {"elsewhere/radio-2AAA0105-20200101-000000-all.vkt", old + ".txt", old + ".vkt.bak",
                                     "backups/radio-notes-20200101-000000-all.vkt", old + "-dir.vkt"};
    for (const std::string& name : {kept[0], kept[1], kept[2], kept[3], old + ".vkt"}) writeBytes(name, "");
    std::filesystem::create_directory(path(kept[4]));
    if (canLink) std::filesystem::create_symlink(path("victim"), path(kept.emplace_back(old + "-link.vkt")));
    EXPECT_EQ(b.prune(Now), 1);
    EXPECT_FALSE(std::filesystem::exists(path(old + ".vkt")));
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(path(name)))) << name;
}
