// SPDX-License-Identifier: GPL-3.0-or-later
// Saved radio images run through the codecs and CSV (over the radio link
// they go in the fault matrix and the pseudo-terminal tests).

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "cli/ChannelCsv.h"
#include "tests/core/StoreEverything.h"
#include "core/MemoryImage.h"

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
