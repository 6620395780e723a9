// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioJobs.h"

namespace VKTCom {

bool RadioJobs::transfer(JobStep step, VKTCore::Image& image, const std::optional<Fingerprint>& expected, JobResult& result,
                         const std::function<bool(Transfers&)>& run) {
    Transfers transfers(link_, proc_, image);
    transfers.ExpectedRadio = expected;
    const bool done = host_.run(step, transfers, [&] { return run(transfers); });
    result.otherUnit = transfers.OtherUnit;
    // A read whose hook was answered Cancel was cancelled too; a write so
    // answered failed, for it may have sent part of the setup on a retry.
    const bool whole = step == JobStep::ReadFirst || step == JobStep::Read;
    result.cancelled = proc_.Cancelled || (whole && link_.HookCancelled);
    // A write cancelled in its block phase ends as done, but did not send everything.
    return done && !proc_.Cancelled;
}

bool RadioJobs::readWhole(JobStep step, JobResult& result) {
    result.radio = std::make_unique<VKTCore::Image>();
    if (!transfer(step, *result.radio, std::nullopt, result, [](Transfers& t) { return t.ReadAllMemory(); })) return false;
    result.fingerprint = FingerprintOf(link_.RadioInfo, *result.radio);
    return true;
}

JobResult RadioJobs::WriteChanges(const VKTCore::Image& shared, bool skipGlobals, const KeepBackup& keepBackup, const FitSetup& fit) {
    JobResult result;
    // The radio is read aside and kept before anything is sent: whatever
    // happens next, the technician can put it back as it was.
    if (!readWhole(JobStep::ReadFirst, result)) {
        result.end = JobEnd::ReadFailed;
        return result;
    }
    const auto kept = keepBackup ? keepBackup(*result.radio, *result.fingerprint) : std::optional<std::string>("");
    if (!kept) {
        result.end = JobEnd::BackupFailed;
        return result;
    }
    result.backup = *kept;
    auto own = std::make_unique<VKTCore::Image>(shared);
    if (fit) fit(*result.radio, *own);
    const VKTCore::Image& setup = *own;
    result.changes = ChangedBlocks(*result.radio, setup, skipGlobals);
    if (result.changes.empty()) {
        result.end = JobEnd::AlreadyHeld;
        return result;
    }
    // The write and its check reach only the unit that was read.
    auto sent = std::make_unique<VKTCore::Image>(setup);
    const bool written = transfer(JobStep::Write, *sent, result.fingerprint, result, [&](Transfers& t) {
        const bool done = t.WriteBlocks(result.changes);
        result.blocksWritten = t.BlocksWritten;
        result.page0Written = t.Page0Written.size();
        return done;
    });
    if (!written) {
        result.end = JobEnd::WriteFailed;
        return result;
    }
    if (!transfer(JobStep::ReadBack, *result.radio, result.fingerprint, result,
                  [&](Transfers& t) { return t.ReadBlocks(result.changes.readBack()); })) {
        result.end = JobEnd::ReadBackFailed;
        return result;
    }
    result.differences = CompareSetups(*result.radio, setup, !skipGlobals);
    result.end = result.differences.empty() ? JobEnd::Verified : JobEnd::Differs;
    return result;
}

JobResult RadioJobs::Verify(const VKTCore::Image& setup) {
    JobResult result;
    if (!readWhole(JobStep::Read, result)) {
        result.end = JobEnd::ReadFailed;
        return result;
    }
    result.differences = CompareSetups(*result.radio, setup);
    result.end = result.differences.empty() ? JobEnd::Verified : JobEnd::Differs;
    return result;
}

} // namespace VKTCom
