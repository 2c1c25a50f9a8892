// The numbers of the MIDI protocol this system speaks: status bytes, controller numbers, the
// 14-bit pitch-bend range, and the conversion of a 0 .. 1 value to a 7-bit data byte.
#pragma once

#include <cstdint>

namespace Midi {

// Status bytes (channel 0; the low nibble carries the channel).
constexpr uint8_t kPolyPressure = 0xA0;    // 160
constexpr uint8_t kControlChange = 0xB0;   // 176
constexpr uint8_t kChannelPressure = 0xD0; // 208
constexpr uint8_t kPitchBend = 0xE0;       // 224
constexpr uint8_t kTimingClock = 0xF8;     // 248

// Controller numbers.
constexpr uint8_t kModWheel = 1;
constexpr uint8_t kGeneralPurpose1 = 16; // the vector joystick's X axis
constexpr uint8_t kGeneralPurpose2 = 17; // the vector joystick's Y axis
constexpr uint8_t kAllNotesOff = 123;

constexpr uint8_t kMaxDataByte = 127;

// Pitch bend: 14 bits around a centre of 8192; the normalized bend is (value - 8192) / 8191,
// so that the lowest value, 0, and the highest, 16383, are -1 (after clipping) and +1.
constexpr int32_t kPitchBendCentre = 8192;
constexpr int32_t kPitchBendRange = 8191;

// The signed bend of a pitch-bend message from its two data bytes (least significant first).
constexpr int32_t pitchBendValue(int32_t lsb, int32_t msb)
{
    return ((msb & kMaxDataByte) * 128 + (lsb & kMaxDataByte)) - kPitchBendCentre;
}

// A 0 .. 1 value as a 7-bit data byte, truncating; out-of-range and NaN values stay inside
// 0 .. 127.
inline uint8_t sevenBit(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 1.0f)
        return kMaxDataByte;
    return static_cast<uint8_t>(value * 127.0f);
}

} // namespace Midi
