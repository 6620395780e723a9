// SPDX-License-Identifier: GPL-3.0-or-later
// The incident radio communications plan reader with arbitrary rows under the form's headings.

#include "fuzz/PlanRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReadPlanRows("INCIDENT RADIO COMMUNICATIONS PLAN (ICS 205)\r\nZone/Grp,Ch #,Function,Channel Name/Trunked Radio System "
                        "Talkgroup,Assignment,RX Freq N or W,RX Tone/NAC,TX Freq N or W,TX Tone/NAC,\"Mode A, D, or M\",Remarks\r\n",
                        data, size);
}
