// The room's sizes at a session rate, scaled from the bank-rate sizes.
#include "room/RoomLayout.h"

#include "room/RoomConstants.h"

#include <cmath>

namespace {
int largestPowerOfTwoAtMost(long n)
{
    int p = 1;
    while (2L * p <= n)
        p *= 2;
    return p;
}

long roundUpTo(long n, long multiple) { return (n + multiple - 1) / multiple * multiple; }

CRoomLayout bankRateLayout(int sampleRate)
{
    return {sampleRate,
            kBankSampleRate,
            kResponseLength,
            kResponseLength,
            kEarlyLength,
            kEarlyPartition,
            kLateStart,
            kLateLength,
            kLatePartition,
            kRoomDelay,
            0,
            kLateDelay};
}
} // namespace

CRoomLayout roomLayoutAt(int sampleRate)
{
    if (sampleRate == kBankSampleRate || sampleRate < kMinRateTrueRate || sampleRate > kMaxRateTrueRate)
        return bankRateLayout(sampleRate);
    const long rate = sampleRate;
    const long bank = kBankSampleRate;
    const double ratio = static_cast<double>(rate) / static_cast<double>(bank);
    const double octaves = std::round(std::log2(ratio));
    const double scale = std::exp2(octaves);

    CRoomLayout layout{};
    layout.nSampleRate = sampleRate;
    layout.nTableRate = sampleRate;
    // Samples of the resampled table: the bank's duration, rounded up.
    layout.nTableLength = static_cast<int>((kResponseLength * rate + bank - 1) / bank);
    layout.nOnset = static_cast<int>((kRoomDelay * rate + bank / 2) / bank);

    // The early stage delays by 2c - 1, which must fit inside the onset.
    const int earlyScaled = static_cast<int>(kEarlyPartition * scale);
    const int earlyFits = largestPowerOfTwoAtMost((layout.nOnset + 1) / 2);
    layout.nEarlyPartition = earlyScaled < earlyFits ? earlyScaled : earlyFits;
    const long earlyTarget = (kEarlyLength * rate + bank - 1) / bank;
    layout.nEarlyLength = static_cast<int>(roundUpTo(earlyTarget, layout.nEarlyPartition));
    layout.nEarlyDelay = layout.nOnset - (2 * layout.nEarlyPartition - 1);

    // The late stage delays by 2c - 1 from its region's start, which must come no later than the
    // early stage puts that sample.
    layout.nLateStart = layout.nEarlyLength;
    const int lateScaled = static_cast<int>(kLatePartition * scale);
    const int lateFits = largestPowerOfTwoAtMost((layout.nLateStart + layout.nOnset + 1) / 2);
    layout.nLatePartition = lateScaled < lateFits ? lateScaled : lateFits;
    layout.nLateLength =
        static_cast<int>(roundUpTo(layout.nTableLength - layout.nLateStart, layout.nLatePartition));
    layout.nLateDelay = layout.nLateStart + layout.nOnset - (2 * layout.nLatePartition - 1);
    layout.nResponseLength = layout.nLateStart + layout.nLateLength;
    return layout;
}

float tailTimeMsFor(long samples, int sampleRate)
{
    const int rate = sampleRate > 0 ? sampleRate : kBankSampleRate;
    float ms = static_cast<float>(std::ceil(1000.0 * static_cast<double>(samples) / rate));
    // Guard against rounding of the float: the host's truncated sample count must cover it all.
    while (static_cast<long>(static_cast<double>(ms) / 1000.0 * rate) < samples)
        ms += 1.0f;
    return ms;
}
