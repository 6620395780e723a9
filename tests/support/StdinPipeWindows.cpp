// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/StdinPipe.h"

#include <windows.h>

namespace {
HANDLE H(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
} // namespace

StdinPipe::StdinPipe() : saved_(reinterpret_cast<intptr_t>(::GetStdHandle(STD_INPUT_HANDLE))) {
    HANDLE reader = nullptr, writer = nullptr;
    if (!::CreatePipe(&reader, &writer, nullptr, 0)) return;
    ::SetStdHandle(STD_INPUT_HANDLE, reader);
    reader_ = reinterpret_cast<intptr_t>(reader);
    writer_ = reinterpret_cast<intptr_t>(writer);
}

StdinPipe::~StdinPipe() {
    close();
    ::SetStdHandle(STD_INPUT_HANDLE, H(saved_));
    if (reader_ != -1) ::CloseHandle(H(reader_));
}

void StdinPipe::write(const std::string& bytes) {
    DWORD written = 0;
    ::WriteFile(H(writer_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void StdinPipe::close() {
    if (writer_ != -1) ::CloseHandle(H(writer_));
    writer_ = -1;
}
