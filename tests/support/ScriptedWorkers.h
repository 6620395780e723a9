// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies of vkt played by a script on the virtual clock: each says its next
// line at each wait, "exit N" ends it.

#include <deque>
#include <string>
#include <vector>

#include "platform/WorkerPool.h"
#include "sim/VirtualClock.h"

class ScriptedWorkers : public vkt::WorkerPool {
public:
    std::vector<std::vector<std::string>> started;
    std::vector<std::deque<std::string>> scripts;  // each copy's lines, by the order they were started in
    int interrupts = 0;
    vktsim::VirtualClock* clock = nullptr;

    int start(const std::vector<std::string>& args) override {
        started.push_back(args);
        return static_cast<int>(started.size()) - 1;
    }
    std::vector<Event> wait(double seconds) override {
        if (clock) clock->advance(seconds);
        std::vector<Event> out;
        for (size_t w = 0; w < started.size(); ++w) {
            // A copy without a script of its own ends at once, having said nothing.
            if (w >= scripts.size()) scripts.resize(w + 1, {"exit 0"});
            if (scripts[w].empty()) continue;
            const std::string line = scripts[w].front();
            scripts[w].pop_front();
            if (line.rfind("exit ", 0) == 0) out.push_back({static_cast<int>(w), "", true, std::stoi(line.substr(5)), ""});
            else out.push_back({static_cast<int>(w), line, false, 0, ""});
        }
        return out;
    }
    void interruptAll() override { ++interrupts; }
};
