// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of the radio's programming protocol, as the host sends them.
// The emulator keeps its own copy on purpose: it plays the radio, and a
// wrong byte here must show up as a radio that does not answer.

#include <cstdint>

namespace VKTCom::Protocol {

inline constexpr int HookZeros = 10;                      // wake-up: ten 0 bytes,
inline constexpr uint8_t HookSequence[] = {10, 20, 40};   // then these; the radio answers HookAck
inline constexpr uint8_t Release = 1;
inline constexpr uint8_t SpeedChange = 5;                 // then the speed code; answered 1
inline constexpr uint8_t IdentityQuery = 43;              // then 0, 0, 0; a byte after each
inline constexpr uint8_t ReadByte = 195;                  // page, offset; answered with the byte
inline constexpr uint8_t WriteByte = 209;                 // page, offset, mask, value; answered 1
inline constexpr uint8_t ReadBlock = 198;                 // block, then the trigger or pacing bytes
inline constexpr uint8_t FastBlockTrigger = 255;
inline constexpr uint8_t WriteBlock = 212;                // block, 32 bytes; answered with any byte
inline constexpr uint8_t SquelchReadings = 253;           // starts the stream of squelch readings
inline constexpr uint8_t StopReadings = 0;

} // namespace VKTCom::Protocol
