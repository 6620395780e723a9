// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/RunLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "core/Text.h"

namespace vkteditor {

namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

// One write of the whole text, so that rows of runs writing at the same
// time never interleave.
bool WriteWhole(int fd, const std::string& text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

} // namespace

std::string LogLine(const LogRow& r) {
    return Field(r.timeUtc) + "," + Field(r.cable) + "," + Field(r.radio) + "," + Field(r.setup) + "," + Field(r.setupSha256) + "," +
           Field(r.action) + "," + Field(r.result) + "," + (r.verified ? "yes" : "no") + "," + vkt::FixedText(r.seconds, 1) + "," +
           Field(r.firstDifference) + "," + Field(r.reason) + "," + Field(r.written);
}

bool AppendLogRow(const std::string& path, const LogRow& row, std::string& why) {
    // A new file is made with its header by exactly one run.
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool isNew = fd >= 0;
    if (!isNew && errno == EEXIST) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) why = path + " is not a regular file";
    // A file made empty beforehand (touched, or truncated) gets the header too.
    if (ok && (isNew || st.st_size == 0) && !WriteWhole(fd, std::string(LogHeader) + "\n")) ok = false;
    if (ok && !WriteWhole(fd, LogLine(row) + "\n")) ok = false;
    if (!ok && why.empty()) why = path + ": " + std::strerror(errno);
    ::close(fd);
    return ok;
}

std::string UtcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace vkteditor
