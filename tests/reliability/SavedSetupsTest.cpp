// SPDX-License-Identifier: GPL-3.0-or-later
// Saved radio images run through every road a setup takes: the codecs, a
// read from an emulated radio holding it, and CSV.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "cli/ChannelCsv.h"
#include "tests/core/StoreEverything.h"
#include "tests/link/LinkFixture.h"

using VKTCore::Image;
using VKTCore::MemoryImage;

namespace {

Image Load(const std::string& name) {
    std::ifstream in(std::string(VKT_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes.size(), static_cast<size_t>(VKTCore::ImageSize)) << name;
    Image image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

class SavedSetup : public LinkTest, public ::testing::WithParamInterface<const char*> {};

} // namespace

// Images in the forms the editor itself stores come back byte for byte. An
// erased radio has bytes no editor writes (FF FF guards, FF label codes,
// both priority flags): the first store writes them in the editor's own
// forms, and from then on nothing moves.
TEST(SavedSetups, DecodingAndEncodingAStoredSetupChangesNoByte) {
    for (const std::string name : {"factory.vkt", "fleet.vkt", "erased.vkt"}) {
        MemoryImage = Load(name);
        if (name == "erased.vkt") DecodeAndEncodeEverything();
        const Image before = MemoryImage;
        DecodeAndEncodeEverything();
        EXPECT_EQ(MemoryImage, before) << name;
    }
}

// On radios holding a pattern and its complement, so that every bit of the
// setup differs from the radio's once: each bit that goes out is the
// setup's, each other one the radio's; and the image stays as it was. A
// radio holding the setup reads back identically.
TEST_P(SavedSetup, WritingAndReadingItLeaveExactlyTheSentBits) {
    MemoryImage = Load(GetParam());
    const Image setup = MemoryImage;
    for (const uint8_t held : {0x5A, 0xA5}) {
        radio().eeprom.fill(held);
        ASSERT_TRUE(transfers.WriteAllMemory(false));
        for (int a = 0; a < VKTCore::RadioMemorySize; ++a) {
            const int sent = VKTCom::SentBits(a);
            ASSERT_EQ(radio().eeprom[static_cast<size_t>(a)], (held & ~sent) | (setup[static_cast<size_t>(a)] & sent)) << a;
        }
        EXPECT_EQ(MemoryImage, setup);
    }
    std::copy_n(setup.begin(), VKTCore::RadioMemorySize, radio().eeprom.begin());
    MemoryImage.fill(0);
    ASSERT_TRUE(transfers.ReadAllMemory());
    EXPECT_TRUE(std::equal(setup.begin(), setup.begin() + VKTCore::RadioMemorySize, MemoryImage.begin()));
    expectReleased();
}

INSTANTIATE_TEST_SUITE_P(Files, SavedSetup, ::testing::Values("factory.vkt", "erased.vkt", "fleet.vkt"));

// Erased channels (181.91875, D777-), 1.25 kHz steps, tones that are no
// decimal number and random bytes all come back as they were.
TEST(SavedSetups, ExportThenImportGivesBackTheSameFile) {
    std::vector<std::pair<std::string, Image>> setups;
    for (const char* name : {"factory.vkt", "erased.vkt", "fleet.vkt"}) setups.emplace_back(name, Load(name));
    std::mt19937 rng(14);
    for (int k = 0; k < 20; ++k) {
        Image random;
        for (auto& b : random) b = static_cast<uint8_t>(rng());
        setups.emplace_back("random " + std::to_string(k), random);
    }
    for (const auto& [name, setup] : setups) {
        Image imported = setup;
        std::string error;
        ASSERT_TRUE(vktcli::ImportCsv(vktcli::ExportCsv(setup), imported, error)) << name << ": " << error;
        EXPECT_EQ(imported, setup) << name;
    }
}
