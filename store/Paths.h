// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program keeps every path as UTF-8. std::filesystem reads a narrow
// string in the local code page on Windows, where a name outside ASCII
// ("Übung 1.vkt") would come out as another name or not at all, so every
// path goes to it and comes back through these.

#include <filesystem>
#include <string>
#include <string_view>

namespace vktstore {

inline std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace vktstore
