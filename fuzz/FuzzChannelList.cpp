// SPDX-License-Identifier: GPL-3.0-or-later
// The channel-list reader with arbitrary rows under its header.

#include "fuzz/PlanRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReadPlanRows("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
                        "Mode,TStep,Skip,Power,Comment\r\n",
                        data, size);
}
