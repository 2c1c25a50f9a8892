// The rooms' run path: a run of quiet frames through both ears in one pass, each stage and delay
// taking a stretch of samples at a time, with exactly the output of processFrame frame by frame.
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"
#include "room/RoomInput.h"

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"

#include <algorithm>

namespace {

// An ear's input samples as processFrame reads them; a missing channel reads zeros.
void readEarInput(const float* in, uint32_t count, double* x)
{
    if (in == nullptr)
        std::fill_n(x, count, 0.0);
    else
        roomInputRun(in, static_cast<int>(count), x);
}

} // namespace

// [audio thread]
bool CTessaline::processFrameRun(const float* const* in, float* const* out, uint32_t channels,
                                 uint32_t frames)
{
    return runEars(in, out, channels, frames, nullptr, nullptr);
}

// [audio thread] processFrame reads Gain, Stereo/Mono and Left/Right at every frame, but within a
// run nothing changes them, and a smoother at rest changes nothing; a gliding one goes frame by
// frame. The stages and delays of one ear are independent of the other's (the shared transforms
// hold nothing from one step to the next), so each ear takes the pass's frames in turn.
bool CTessaline::runEars(const float* const* in, float* const* out, uint32_t channels, uint32_t frames,
                         CDelayLine* earlyDelayLeft, CDelayLine* earlyDelayRight)
{
    if (m_bFrameByFrame || in == nullptr || out == nullptr || (channels != 1 && channels != 2)
        || out[0] == nullptr || (channels == 2 && out[1] == nullptr) || !smoothingAtRest())
        return false;
    const bool mono = m_fStereoMono != 0;
    const bool right = m_fLeftRight != 0;
    // processFrame's choice of each ear's input; a one-channel frame's second sample is zero.
    const float* second = channels == 2 ? in[1] : nullptr;
    const float* leftInput = (mono && right) ? second : in[0];
    const float* rightInput = (!mono || right) ? second : in[0];
    for (uint32_t done = 0; done < frames;)
    {
        const uint32_t count = std::min(kRunFrames, frames - done);
        const int n = static_cast<int>(count);
        // Both ears' input is read before any output is written: out may be in.
        readEarInput(leftInput ? leftInput + done : nullptr, count, m_RunRows[0]);
        if (channels == 2)
            readEarInput(rightInput ? rightInput + done : nullptr, count, m_RunRows[1]);
        runEar(*m_pEarlyLeft, *m_pLateLeft, *m_pLateDelayLeft, earlyDelayLeft, m_RunRows[0], out[0] + done,
               n);
        if (channels == 2)
            runEar(*m_pEarlyRight, *m_pLateRight, *m_pLateDelayRight, earlyDelayRight, m_RunRows[1],
                   out[1] + done, n);
        done += count;
    }
    return true;
}

// processEar over n samples: early stage, late stage, its aligning delay, the early delay where
// there is one, and the sum times the gain.
void CTessaline::runEar(CPartitionedConvolver& early, CPartitionedConvolver& late, CDelayLine& lateDelay,
                        CDelayLine* earlyDelay, const double* x, float* out, int n)
{
    double* e = m_RunRows[2];
    double* l = m_RunRows[3];
    early.processFiniteRun(x, e, n);
    late.processFiniteRun(x, l, n);
    lateDelay.processRun(l, m_RunRows[4], n);
    l = m_RunRows[4];
    if (earlyDelay != nullptr)
    {
        earlyDelay->processRun(e, m_RunRows[5], n);
        e = m_RunRows[5];
    }
    const float gain = m_fGain;
    for (int k = 0; k < n; ++k)
        out[k] = static_cast<float>(l[k] + e[k]) * gain;
}

// [audio thread] As the original room's run, with the early delays where the layout has them.
bool CTessalineAnyRate::processFrameRun(const float* const* in, float* const* out, uint32_t channels,
                                        uint32_t frames)
{
    const bool delayed = m_Layout.nEarlyDelay != 0;
    return runEars(in, out, channels, frames, delayed ? m_pEarlyDelayLeft.get() : nullptr,
                   delayed ? m_pEarlyDelayRight.get() : nullptr);
}
