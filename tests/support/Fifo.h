// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A FIFO that nothing writes to, for code that must refuse it rather than wait on it. Should the code wait
// after all, a writer comes by after a while and goes, so that the test fails instead of hanging.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "tests/support/SystemCalls.h"

class Fifo {
public:
    explicit Fifo(std::string path) : path_(std::move(path)) {
        made_ = vkttest::MakeFifo(path_);
        if (made_) rescuer_ = std::thread([this] { rescue(); });
    }
    ~Fifo() {
        done_ = true;
        if (rescuer_.joinable()) rescuer_.join();
    }
    bool made() const { return made_; }

private:
    void rescue() {
        for (int i = 0; i < 3000 && !done_; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            vkttest::PokeFifo(path_);
        }
    }

    std::string path_;
    bool made_ = false;
    std::atomic<bool> done_ = false;
    std::thread rescuer_;
};
