// The room's fixed numbers: the length of its response, the three convolver stages that cover
// it, and the delays that line them up. The room builds its engine from these; the bench and
// the tests build and check against the same values.
#pragma once

// Samples in each component table of the bank, and so in the room's response (0x11000).
constexpr int kResponseLength = 69632;

// Each stage covers its region in partitions as large as its start allows: a stage with
// partition c delays its region by 2c - 1 samples, so its region must start at least that far
// in, less the room's own 255 samples. Larger partitions cost less per sample (fewer spectra
// to stream through for each output sample), so the partitions grow along the response.
// The early stage covers [0, 4096) in 128-sample partitions for a short delay.
constexpr int kEarlyLength = 4096;
constexpr int kEarlyPartition = 128;
// The late stage covers [4096, 20480) in 2048-sample partitions (P = 8).
constexpr int kLateStart = kEarlyLength;
constexpr int kLatePartition = 2048;
constexpr int kLateLength = 8 * kLatePartition; // 16384
// The tail stage covers the rest, [20480, 69632), in 8192-sample partitions (P = 6).
constexpr int kTailStart = kLateStart + kLateLength;
constexpr int kTailPartition = 8192;
constexpr int kTailLength = kResponseLength - kTailStart; // 49152
static_assert(kTailLength % kTailPartition == 0, "the tail stage ends with the response");

// A stage delays its region by 2c - 1 samples: the room signal is 255 samples late.
constexpr int kRoomDelay = 2 * kEarlyPartition - 1;
// The later stages' own delays count from their region starts; the extra delay after each puts
// its first response sample s at s + 255. Late: 4096 + 255 - 4095 = 256 samples.
constexpr int kLateDelay = kLateStart + kRoomDelay - (2 * kLatePartition - 1);
// Tail: 20480 + 255 - 16383 = 4352 samples.
constexpr int kTailDelay = kTailStart + kRoomDelay - (2 * kTailPartition - 1);
static_assert(kRoomDelay == 255 && kLateDelay == 256 && kTailDelay == 4352,
              "the room's latency is part of its sound");

// A stage renews one partition per block and a change is whole in its output P + 2 blocks
// later, then passes the delay after it. The tail's 6 + 2 blocks of 8192 and 4352 samples of
// delay take exactly as long as the 32 + 2 blocks of 2048 and 256 samples of one late stage
// over the whole [4096, 69632) would: a change is no slower with the larger partitions.
constexpr long kChangeSamples = 34L * 2048 + 256;
static_assert((kTailLength / kTailPartition + 2L) * kTailPartition + kTailDelay <= kChangeSamples
                  && (kLateLength / kLatePartition + 2L) * kLatePartition + kLateDelay <= kChangeSamples,
              "a response change takes full effect as soon as with one late stage");
