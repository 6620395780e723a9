// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Interrupts.h"

#include "platform/WorkerPool.h"

namespace vktcli {

bool RunListener::stopAsked() {
    if (stop_) return true;
    std::string bytes;
    const bool open = TakeWaitingInput(bytes);
    return heard(bytes, !open);
}

bool RunListener::heard(const std::string& bytes, bool ended) {
    for (char ch : bytes) {
        if (ch != '\n') {
            line_ += ch;
            continue;
        }
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        stop_ = stop_ || line_ == vkt::WorkerStopLine;
        line_.clear();
    }
    stop_ = stop_ || ended;
    return stop_;
}

} // namespace vktcli
