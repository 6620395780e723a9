// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every successful read from a radio is kept as a setup file in a backups
// folder, named by the time and the radio's identity bytes, so no radio's
// setup is lost by a later write. Backups older than a year are pruned.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/MemoryImage.h"

namespace vktstore {

class Backups {
public:
    explicit Backups(std::string folder) : folder_(std::move(folder)) {}

    using Clock = std::chrono::system_clock;
    // Saves the image; the path written, or nothing when it could not be.
    std::optional<std::string> save(const VKTCore::Image& image, const std::array<uint8_t, 4>& identity, const std::string& what,
                                    Clock::time_point when = Clock::now());
    // Removes the backups older than a year; returns how many went.
    int prune(Clock::time_point now = Clock::now());
    // The newest backup of the radio with this identity.
    std::optional<std::string> latestFor(const std::array<uint8_t, 4>& identity) const;

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

} // namespace vktstore
