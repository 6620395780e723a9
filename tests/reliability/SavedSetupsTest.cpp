// SPDX-License-Identifier: GPL-3.0-or-later
// Over the radio link saved images go in the fault matrix and the pseudo-terminal tests.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "cli/ChannelCsv.h"
#include "tests/core/StoreEverything.h"
#include "core/MemoryImage.h"

using VKTCore::Image;
using VKTCore::MemoryImage;

namespace {

Image Load(const std::string& name) {
    Image image{};
    std::ifstream in(std::string(VKT_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    EXPECT_TRUE(in && in.peek() == EOF) << name << " is not one image long";
    return image;
}

} // namespace

// Images in the forms the editor itself stores come back byte for byte through the codecs. An erased radio has
// bytes no editor writes (FF FF guards, FF label codes, both priority flags): the first store writes them in
// the editor's own forms, and from then on nothing moves. Through CSV everything comes back: erased channels
// (181.91875, D777-), 1.25 kHz steps, tones that are no decimal number, random bytes.
TEST(SavedSetups, StoredSetupsComeBackThroughTheCodecsAndCsv) {
    std::vector<std::pair<std::string, Image>> setups;
    for (const std::string name : {"factory.vkt", "fleet.vkt", "erased.vkt"}) {
        MemoryImage = Load(name);
        setups.emplace_back(name, MemoryImage);
        if (name == "erased.vkt") DecodeAndEncodeEverything();
        const Image before = MemoryImage;
        DecodeAndEncodeEverything();
        EXPECT_EQ(MemoryImage, before) << name;
    }
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
