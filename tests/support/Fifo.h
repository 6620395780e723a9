// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A FIFO that nothing writes to, for code that must refuse it rather than
// wait on it. Should the code wait after all, a writer comes by after a
// while and goes, so that the test fails instead of hanging.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

class Fifo {
public:
    explicit Fifo(std::string path) : path_(std::move(path)) {
        made_ = ::mkfifo(path_.c_str(), 0600) == 0;
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
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);  // opens only while a reader waits
            if (fd >= 0) ::close(fd);
        }
    }

    std::string path_;
    bool made_ = false;
    std::atomic<bool> done_ = false;
    std::thread rescuer_;
};
