// SPDX-License-Identifier: GPL-3.0-or-later
// The incident radio communications plan reader with arbitrary rows under the form's headings.

#include "fuzz/PlanRoundTrip.h"

namespace {

constexpr size_t RxFreq = 5, TxFreq = 7;

// "154.2800N": the hertz its digits say (0 for a blank cell) and the width its letter states.
std::pair<std::optional<long long>, std::optional<bool>> Stated(std::string v) {
    std::optional<bool> narrow;
    const int last = v.empty() ? 0 : std::toupper(static_cast<unsigned char>(v.back()));
    if (last == 'N' || last == 'W') {
        narrow = last == 'N';
        v.pop_back();
        while (!v.empty() && v.back() == ' ') v.pop_back();
    }
    return {v.empty() ? std::optional(0LL) : fuzzplan::WrittenHertz(v), narrow};
}

bool Agrees(const vkt::CsvRecord& row, const VKTCore::PlanChannel& ch) {
    const auto [rx, rxNarrow] = Stated(fuzzplan::Cell(row, RxFreq));
    const auto [tx, txNarrow] = Stated(fuzzplan::Cell(row, TxFreq));
    return rx == fuzzplan::HertzOf(ch.rx) && tx == fuzzplan::HertzOf(ch.tx) && ch.narrow == (rxNarrow ? rxNarrow : txNarrow);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzplan::ReadPlanRows("INCIDENT RADIO COMMUNICATIONS PLAN (ICS 205)\r\nZone/Grp,Ch #,Function,Channel Name/Trunked Radio System "
                                  "Talkgroup,Assignment,RX Freq N or W,RX Tone/NAC,TX Freq N or W,TX Tone/NAC,\"Mode A, D, or M\",Remarks\r\n",
                                  data, size, Agrees);
}
