// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/StdinPipe.h"

#include <unistd.h>

StdinPipe::StdinPipe() : saved_(::dup(STDIN_FILENO)) {
    int ends[2] = {-1, -1};
    if (::pipe(ends) != 0) return;
    ::dup2(ends[0], STDIN_FILENO);
    ::close(ends[0]);
    writer_ = ends[1];
}

StdinPipe::~StdinPipe() {
    close();
    ::dup2(static_cast<int>(saved_), STDIN_FILENO);
    ::close(static_cast<int>(saved_));
}

void StdinPipe::write(const std::string& bytes) {
    const ssize_t n = ::write(static_cast<int>(writer_), bytes.data(), bytes.size());
    (void)n;
}

void StdinPipe::close() {
    if (writer_ >= 0) ::close(static_cast<int>(writer_));
    writer_ = -1;
}
