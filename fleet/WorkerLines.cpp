// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/WorkerLines.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"

namespace vktfleet {

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts(1);
    for (char ch : line) {
        if (ch == '\t') parts.emplace_back();
        else parts.back() += ch;
    }
    return parts;
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\t', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

} // namespace

std::string ProgressLine(const std::string& phase, int percent, const std::string& identity) {
    return "progress\t" + phase + "\t" + std::to_string(percent) + (identity.empty() ? "" : "\t" + identity);
}

std::string ResultLine(const WorkerResult& r) {
    return std::string("result\t") + LineWord(r.outcome) + "\t" + r.identity + "\t" + vkt::FixedText(r.seconds, 2) + "\t" +
           vkt::FixedText(r.cpuSeconds, 3) + "\t" + OneLine(r.detail) + "\t" + OneLine(r.written) + "\t" + r.unitId + "\t" + r.fingerprint;
}

std::variant<std::monostate, WorkerProgress, WorkerResult> ParseWorkerLine(const std::string& line) {
    const auto parts = Split(line);
    if (parts[0] == "progress" && (parts.size() == 3 || parts.size() == 4))
        return WorkerProgress{parts[1], std::clamp(static_cast<int>(vkt::Val(parts[2])), 0, 100), parts.size() == 4 ? parts[3] : ""};
    if (parts[0] == "result" && parts.size() == 9)
        // A word this run does not know is no success.
        return WorkerResult{OutcomeOfLine(parts[1]).value_or(Outcome::Failed), parts[2], vkt::Val(parts[3]), vkt::Val(parts[4]), parts[5], parts[6],
                            parts[7], parts[8]};
    return {};
}

} // namespace vktfleet
