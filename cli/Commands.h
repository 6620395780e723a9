#pragma once
// The vkt command line: reading, writing, verifying, comparing, reporting,
// CSV export and import, and the factory setup, on the editor's own code.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vktcli {

enum ExitCode { Done = 0, RadioOrCompareFailure = 1, Usage = 2, FileFailure = 3 };

struct Console {
    vkt::Platform& platform;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Points the serial port at Comm Port n or at a device ("" for none).
    std::function<void(int port, const std::string& device)> choosePort;
    // Writes the report of the image as PDF; false, and why, when it cannot.
    std::function<bool(const std::string& pdfPath, const std::string& setupName, std::string& why)> writeReportPdf;
};

int RunVkt(const std::vector<std::string>& args, Console& console);

extern const char* const VktHelp;

} // namespace vktcli
