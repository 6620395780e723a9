// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/RunLog.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/Text.h"
#include "store/FileSystem.h"

namespace vktfleet {

namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

// One write of the whole text, so that rows of runs writing at the same
// time never interleave.
bool WriteWhole(int fd, const std::string& text) { return vktstore::Files().appendWhole(fd, text.data(), text.size()); }

} // namespace

std::string LogLine(const LogRow& r) {
    return Field(r.timeUtc) + "," + Field(r.cable) + "," + Field(r.radio) + "," + Field(r.setup) + "," + Field(r.setupSha256) + "," +
           ActionWord(r.action) + "," + RecordWord(r.result) + "," + (r.verified ? "yes" : "no") + "," + vkt::FixedText(r.seconds, 1) + "," +
           Field(r.firstDifference) + "," + Field(r.reason) + "," + Field(r.written) + "," + Field(r.unitId) + "," + Field(r.fingerprint);
}

bool AppendLogRow(const std::string& path, const LogRow& row, std::string& why) {
    // A new file gets its header from exactly one run: the one that finds it
    // empty while it holds it. So does a file made empty beforehand (touched,
    // or truncated).
    vktstore::FileSystem& files = vktstore::Files();
    vktstore::FileInfo info;
    const int fd = files.openRows(path, 0644, info);
    if (fd < 0) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = info.regular();
    if (!ok) why = path + " is not a regular file";
    if (ok && info.size == 0 && !WriteWhole(fd, std::string(LogHeader) + "\n")) ok = false;
    if (ok && !WriteWhole(fd, LogLine(row) + "\n")) ok = false;
    if (!ok && why.empty()) why = path + ": " + std::strerror(errno);
    files.close(fd);
    return ok;
}

std::string UtcNow() {
    const vkt::UtcTime utc = vkt::UtcOf(std::chrono::system_clock::now());
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second);
    return text;
}

} // namespace vktfleet
