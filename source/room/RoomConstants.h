// The room's fixed numbers: the length of its response, the two convolver stages that cover
// it, and the delays that line them up. The room builds its engine from these; the bench and
// the tests build and check against the same values.
#pragma once

#include "room/BankRate.h"

// Samples in each component table of the bank, and so in the room's response (0x11000).
constexpr int kResponseLength = 69632;

// The early stage covers [0, kEarlyLength) in small partitions for a short delay; the late
// stage covers the rest in large partitions for a low cost per sample.
constexpr int kEarlyLength = 4096;
constexpr int kEarlyPartition = 128;
constexpr int kLateStart = kEarlyLength;
constexpr int kLateLength = kResponseLength - kEarlyLength; // 65536
constexpr int kLatePartition = 2048;

// A stage delays its region by 2c - 1 samples: the room signal is 255 samples late.
constexpr int kRoomDelay = 2 * kEarlyPartition - 1;
// The late stage's own delay, 2 * 2048 - 1 = 4095 samples, counts from its region start; this
// extra delay after it puts response sample 4096 at 4096 + 255 = 4095 + 256.
constexpr int kLateDelay = kLateStart + kRoomDelay - (2 * kLatePartition - 1);
static_assert(kRoomDelay == 255 && kLateDelay == 256, "the room's latency is part of its sound");
