// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for tests that work on the shared memory image.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "core/MemoryImage.h"

// Each test starts from an image of its own choosing; this one is all zero.
class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { VKTCore::MemoryImage.fill(0); }

    // Random bytes everywhere, so that a field write that touches anything outside its own bits shows up.
    static void FillRandom(unsigned seed) {
        std::mt19937 rng(seed);
        for (auto& b : VKTCore::MemoryImage) b = static_cast<uint8_t>(rng());
    }

    static uint8_t At(int address) { return VKTCore::MemoryImage.at(static_cast<size_t>(address)); }
};

// The addresses (and bits) that differ between two images.
inline std::vector<std::pair<int, int>> ChangedBits(const VKTCore::Image& before, const VKTCore::Image& after) {
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i < before.size(); ++i) if (before[i] != after[i]) out.emplace_back(static_cast<int>(i), before[i] ^ after[i]);
    return out;
}

// A setup file of the test data, as the image it holds.
inline VKTCore::Image SetupFile(const std::string& name) {
    VKTCore::Image image{};
    std::ifstream(std::string(VKT_TEST_DATA_DIR) + "/" + name, std::ios::binary).read(reinterpret_cast<char*>(image.data()), image.size());
    return image;
}
