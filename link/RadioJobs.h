// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio jobs of more than one transfer, one procedure each for every
// program that runs them: Write Changes (read the radio aside and keep it,
// write only what differs from the setup, read that back and compare) and
// Verify (read the radio aside and compare). Each program keeps its own
// words, its questions and what it shows around each transfer.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/MemoryImage.h"
#include "link/Fingerprint.h"
#include "link/SetupComparison.h"
#include "link/Transfers.h"

namespace VKTCom {

// Which transfer of a job is running.
enum class JobStep {
    ReadFirst,  // the whole radio, read before a write
    Write,
    ReadBack,   // what a write sent, read back
    Read,       // the whole radio, read to be compared
};

// What a program puts around each transfer of a job: its progress display,
// its Cancel and what it notes of the transfer. Runs `transfer`, which uses
// `transfers`, and says whether it was done.
class JobHost {
public:
    virtual ~JobHost() = default;
    virtual bool run(JobStep step, Transfers& transfers, const std::function<bool()>& transfer) = 0;
};

// How a job ended.
enum class JobEnd {
    Verified,        // the radio holds the setup (after writing what differed)
    Differs,         // read (back) whole, but settings differ
    AlreadyHeld,     // Write Changes found nothing to write
    ReadFailed,      // the first read did not come back whole: nothing was written
    BackupFailed,    // the radio's backup could not be kept: nothing was written
    WriteFailed,     // the write did not finish
    ReadBackFailed,  // written, but its read-back did not come back whole
};

struct JobResult {
    JobEnd end = JobEnd::ReadFailed;
    // The transfer that ended it was cancelled (or the hook's question was).
    bool cancelled = false;
    // A hook found another unit of the model on the cable: the transfer it
    // opened sent and compared nothing.
    bool otherUnit = false;
    std::unique_ptr<VKTCore::Image> radio;  // what was read (and read back over it)
    std::optional<Fingerprint> fingerprint; // of the radio read, when its read came whole
    std::string backup;                     // where the radio's read was kept
    WriteSet changes;                       // what differed from the setup
    std::vector<int> blocksWritten;         // in the order they went
    size_t page0Written = 0;
    std::vector<FieldDifference> differences;
};

class RadioJobs {
public:
    RadioJobs(RadioLink& link, frmProc& proc, JobHost& host) : link_(link), proc_(proc), host_(host) {}

    // Keeps the radio's whole read before anything is written to it: where,
    // or nothing when it could not be kept (then nothing is written).
    using KeepBackup = std::function<std::optional<std::string>(const VKTCore::Image& radio, const Fingerprint& which)>;
    // Makes the setup this unit gets of the setup and the unit's read (its
    // own unit ID kept, say); none: the setup as it is.
    using FitSetup = std::function<void(const VKTCore::Image& radio, VKTCore::Image& setup)>;

    // Writes to the radio only what differs from setup in what a whole write
    // sends (the unit-wide bytes unless skipGlobals), to the unit read alone.
    JobResult WriteChanges(const VKTCore::Image& setup, bool skipGlobals, const KeepBackup& keepBackup, const FitSetup& fit = {});
    // The whole radio compared with setup.
    JobResult Verify(const VKTCore::Image& setup);

private:
    // One transfer of the job into or from image; false when not done.
    bool transfer(JobStep step, VKTCore::Image& image, const std::optional<Fingerprint>& expected, JobResult& result,
                  const std::function<bool(Transfers&)>& run);
    // The whole radio into result.radio.
    bool readWhole(JobStep step, JobResult& result);

    RadioLink& link_;
    frmProc& proc_;
    JobHost& host_;
};

} // namespace VKTCom
