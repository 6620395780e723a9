// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The vkt command line: reading, writing, verifying, comparing, reporting,
// CSV export and import, and the factory setup, on the editor's own code.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/WorkerPool.h"

namespace vktcli {

enum ExitCode { Done = 0, RadioOrCompareFailure = 1, Usage = 2, FileFailure = 3, Interrupted = 130 };

struct Console {
    vkt::Platform& platform;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Points the serial port at Comm Port n or at a device ("" for none).
    std::function<void(int port, const std::string& device)> choosePort;
    // Writes the report of the image as PDF; false, and why, when it cannot.
    std::function<bool(const std::string& pdfPath, const std::string& setupName, std::string& why)> writeReportPdf;
    // Someone can answer questions (and press Cancel by interrupting).
    bool interactive = false;
    // The error stream is a terminal: a live progress bar goes there.
    bool progressBar = false;
    // True once the user has interrupted the run (Ctrl-C, or a signal to
    // end); a fleet run passes it on to every copy, which may not have got it.
    std::function<bool()> interrupted;
    // Copies of this program for the cables of a fleet run.
    vkt::WorkerPool* workers = nullptr;
    // The SHA-256 of some bytes, as 64 hexadecimal digits.
    std::function<std::string(const std::vector<uint8_t>&)> sha256;
    // Where a transfer's progress goes instead of the bar ("writing", 45,
    // and the radio's identity once it has said it).
    std::function<void(const std::string& phase, int percent, const std::string& identity)> reportProgress;
};

int RunVkt(const std::vector<std::string>& args, Console& console);

extern const char* const VktHelp;

} // namespace vktcli
