// SPDX-License-Identifier: GPL-3.0-or-later
// The channel-list reader with arbitrary rows under its header.

#include "fuzz/PlanRoundTrip.h"

namespace {

constexpr size_t Frequency = 2, Mode = 12;

// The receive frequency is the digits written; the width is NFM or FM as stated, the setup's when blank.
bool Agrees(const vkt::CsvRecord& row, const VKTCore::PlanChannel& ch) {
    std::string mode = fuzzplan::Cell(row, Mode);
    for (char& c : mode) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::optional<bool> narrow = mode.empty() ? std::nullopt : std::optional(mode == "NFM");
    return fuzzplan::WrittenHertz(fuzzplan::Cell(row, Frequency)) == fuzzplan::HertzOf(ch.rx) && ch.narrow == narrow;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzplan::ReadPlanRows("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
                                  "Mode,TStep,Skip,Power,Comment\r\n",
                                  data, size, Agrees);
}
