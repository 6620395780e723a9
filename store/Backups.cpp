// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "core/Text.h"
#include "store/FileWriter.h"
#include "store/Paths.h"

namespace vktstore {

namespace fs = std::filesystem;

namespace {

constexpr auto Year = std::chrono::hours(24 * 366);

// The time of a backup from its name, "radio-2AAA0105-20261206-195512-all.vkt";
// nothing for a name this program does not give.
std::optional<Backups::Clock::time_point> TimeOfName(const std::string& name) {
    constexpr size_t Stamp = 15, Tag = 31;  // where the time and the tag start
    const auto allOf = [&](size_t from, size_t count, int (*test)(int)) {
        return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(from), name.begin() + static_cast<std::ptrdiff_t>(from + count),
                           [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
    };
    if (name.size() <= Tag + 4 || name.rfind("radio-", 0) != 0 || !name.ends_with(".vkt") || !allOf(6, 8, isxdigit) ||
        name[14] != '-' || !allOf(Stamp, 8, isdigit) || name[Stamp + 8] != '-' || !allOf(Stamp + 9, 6, isdigit) || name[Tag - 1] != '-')
        return std::nullopt;
    vkt::UtcTime utc;
    if (std::sscanf(name.substr(Stamp, 15).c_str(), "%4d%2d%2d-%2d%2d%2d", &utc.year, &utc.month, &utc.day, &utc.hour, &utc.minute,
                    &utc.second) != 6)
        return std::nullopt;
    return vkt::TimeOfUtc(utc);
}

} // namespace

std::optional<std::string> Backups::save(const VKTCore::Image& image, const std::array<uint8_t, 4>& identity,
                                         const std::string& what, Clock::time_point when) {
    std::error_code ec;
    const fs::path folder = PathOf(folder_);
    fs::create_directories(folder, ec);
    // The folder is the program's own: a link planted in its place is not followed.
    if (fs::is_symlink(folder, ec)) return std::nullopt;
    const vkt::UtcTime utc = vkt::UtcOf(when);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second);
    const std::string path = Utf8Of(folder / PathOf("radio-" + vkt::IdentityText(identity) + "-" + stamp + "-" + what + ".vkt"));
    FileError error;
    if (!WriteFileReplacing(path, image, error, Links::Replace)) return std::nullopt;
    return path;
}

int Backups::prune(Clock::time_point now) {
    int removed = 0;
    std::error_code ec;
    // Only the program's own files go, from its own folder: never through a
    // link, nor anything but a regular file it named.
    if (!fs::is_directory(fs::symlink_status(PathOf(folder_), ec))) return 0;
    for (const auto& entry : fs::directory_iterator(PathOf(folder_), ec)) {
        const auto when = TimeOfName(Utf8Of(entry.path().filename()));
        if (when && now - *when > Year && fs::is_regular_file(entry.symlink_status(ec)) && fs::remove(entry.path(), ec)) ++removed;
    }
    return removed;
}

std::optional<std::string> Backups::latestFor(const std::array<uint8_t, 4>& identity) const {
    const std::string prefix = "radio-" + vkt::IdentityText(identity) + "-";
    std::optional<std::string> best;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PathOf(folder_), ec)) {
        const std::string name = Utf8Of(entry.path().filename());
        // The time stamp sorts as text, so the greatest name is the newest.
        if (name.rfind(prefix, 0) == 0 && (!best || name > Utf8Of(PathOf(*best).filename()))) best = Utf8Of(entry.path());
    }
    return best;
}

} // namespace vktstore
