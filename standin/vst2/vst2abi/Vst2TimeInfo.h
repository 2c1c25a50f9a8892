// The transport record a host returns for audioMasterGetTime. Fields other than the sample
// position and rate are meaningful only when their validity bit is set in flags.
#pragma once

#include <cstdint>

namespace Vst2 {

enum TimeInfoFlags : int32_t
{
    kVstTransportChanged = 1 << 0,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstAutomationWriting = 1 << 6,
    kVstAutomationReading = 1 << 7,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

struct VstTimeInfo
{
    double samplePos; // start of the block in samples
    double sampleRate;
    double nanoSeconds;   // system time
    double ppqPos;        // musical position in quarter notes
    double tempo;         // beats per minute
    double barStartPos;   // last bar start in quarter notes
    double cycleStartPos; // loop start in quarter notes
    double cycleEndPos;   // loop end in quarter notes
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags; // TimeInfoFlags
};

} // namespace Vst2
