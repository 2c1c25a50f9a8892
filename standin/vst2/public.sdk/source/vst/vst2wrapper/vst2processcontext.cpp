#include "public.sdk/source/vst/vst2wrapper/vst2processcontext.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {
// A host's double as a 64-bit count; NaN, infinities and values beyond the range count as 0.
int64 toInt64(double v) { return (std::isfinite(v) && std::fabs(v) < 9.0e18) ? static_cast<int64>(v) : 0; }
} // namespace

void fillProcessContext(const Vst2::VstTimeInfo& time, double fallbackRate, ProcessContext& context)
{
    context = {};
    const int32 flags = time.flags;
    auto has = [flags](int32 bit) { return (flags & bit) != 0; };
    if (has(Vst2::kVstTransportPlaying))
        context.state |= ProcessContext::kPlaying;
    if (has(Vst2::kVstTransportCycleActive))
        context.state |= ProcessContext::kCycleActive;
    if (has(Vst2::kVstTransportRecording))
        context.state |= ProcessContext::kRecording;
    context.sampleRate =
        (time.sampleRate > 0.0 && std::isfinite(time.sampleRate)) ? time.sampleRate : fallbackRate;
    context.projectTimeSamples = toInt64(time.samplePos);
    context.continousTimeSamples = context.projectTimeSamples;
    if (has(Vst2::kVstNanosValid))
    {
        context.systemTime = toInt64(time.nanoSeconds);
        context.state |= ProcessContext::kSystemTimeValid;
    }
    if (has(Vst2::kVstPpqPosValid))
    {
        context.projectTimeMusic = time.ppqPos;
        context.state |= ProcessContext::kProjectTimeMusicValid;
    }
    if (has(Vst2::kVstTempoValid))
    {
        context.tempo = time.tempo;
        context.state |= ProcessContext::kTempoValid;
    }
    if (has(Vst2::kVstBarsValid))
    {
        context.barPositionMusic = time.barStartPos;
        context.state |= ProcessContext::kBarPositionValid;
    }
    if (has(Vst2::kVstCyclePosValid))
    {
        context.cycleStartMusic = time.cycleStartPos;
        context.cycleEndMusic = time.cycleEndPos;
        context.state |= ProcessContext::kCycleValid;
    }
    if (has(Vst2::kVstTimeSigValid))
    {
        context.timeSigNumerator = time.timeSigNumerator;
        context.timeSigDenominator = time.timeSigDenominator;
        context.state |= ProcessContext::kTimeSigValid;
    }
    if (has(Vst2::kVstClockValid))
    {
        context.samplesToNextClock = time.samplesToNextClock;
        context.state |= ProcessContext::kClockValid;
    }
}

} // namespace Vst
} // namespace Steinberg
