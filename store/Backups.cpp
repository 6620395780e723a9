#include "store/Backups.h"

#include <ctime>
#include <filesystem>

#include "core/Text.h"
#include "store/FileWriter.h"

namespace vktstore {

namespace fs = std::filesystem;

namespace {

constexpr auto Year = std::chrono::hours(24 * 366);

// "20261206-195512" of a file name "radio-2AAA0105-20261206-195512-all.vkt".
std::optional<Backups::Clock::time_point> TimeOfName(const std::string& name) {
    const size_t dash = name.find('-', 6);
    if (name.rfind("radio-", 0) != 0 || dash == std::string::npos || name.size() < dash + 16) return std::nullopt;
    std::tm tm{};
    const std::string stamp = name.substr(dash + 1, 15);
    if (std::sscanf(stamp.c_str(), "%4d%2d%2d-%2d%2d%2d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min, &tm.tm_sec) != 6)
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return Backups::Clock::from_time_t(timegm(&tm));
}

} // namespace

std::string IdentityText(const std::array<uint8_t, 4>& identity) {
    std::string s;
    for (uint8_t b : identity) s += vkt::Hex2(b);
    return s;
}

std::optional<std::string> Backups::save(const VKTCore::Image& image, const std::array<uint8_t, 4>& identity,
                                         const std::string& what, Clock::time_point when) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // The folder is the program's own: a link planted in its place is not followed.
    if (fs::is_symlink(folder_, ec)) return std::nullopt;
    const std::time_t t = Clock::to_time_t(when);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    const std::string path = (fs::path(folder_) / ("radio-" + IdentityText(identity) + "-" + stamp + "-" + what + ".vkt")).string();
    FileError error;
    if (!WriteFileReplacing(path, image, error, Links::Replace)) return std::nullopt;
    return path;
}

int Backups::prune(Clock::time_point now) {
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const auto when = TimeOfName(entry.path().filename().string());
        if (when && now - *when > Year && fs::remove(entry.path(), ec)) ++removed;
    }
    return removed;
}

std::optional<std::string> Backups::latestFor(const std::array<uint8_t, 4>& identity) const {
    const std::string prefix = "radio-" + IdentityText(identity) + "-";
    std::optional<std::string> best;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        // The time stamp sorts as text, so the greatest name is the newest.
        if (name.rfind(prefix, 0) == 0 && (!best || name > fs::path(*best).filename().string())) best = entry.path().string();
    }
    return best;
}

} // namespace vktstore
