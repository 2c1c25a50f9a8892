// CTessaline: the engine it owns, building the room, frame processing and control changes.
#include "room/CTessaline.h"
#include "room/RoomInput.h"

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"
#include "room/ResponseBank.h"
#include "room/RoomLayout.h"
#include "room/RoomConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

// [main thread] Step 2 of construction: four stages and two delays, Center components bound
// and silent until the room is built.
void CTessaline::createEngine()
{
    const int fs = m_nSampleRate;
    const IResponseTables& bank = roomResponseBank();
    const SpectrumPrecision p = m_SpectrumPrecision;
    m_pEarlyLeft = std::make_unique<CPartitionedConvolver>(bank, 0, fs, 0, kResponseLength, kEarlyLength,
                                                           kEarlyPartition, 0, p);
    m_pEarlyRight = std::make_unique<CPartitionedConvolver>(bank, 0, fs, 1, kResponseLength, kEarlyLength,
                                                            kEarlyPartition, 0, p);
    m_pLateLeft = std::make_unique<CPartitionedConvolver>(bank, 0, fs, 0, kResponseLength, kLateLength,
                                                          kLatePartition, kLateStart, p);
    m_pLateRight = std::make_unique<CPartitionedConvolver>(bank, 0, fs, 1, kResponseLength, kLateLength,
                                                           kLatePartition, kLateStart, p);
    // The ears run one after the other on the audio thread: one set of transforms serves both,
    // and the first to shape a partition shapes it for both.
    m_pEarlyRight->shareTransforms(*m_pEarlyLeft);
    m_pLateRight->shareTransforms(*m_pLateLeft);
    m_pEarlyRight->shareShaping(*m_pEarlyLeft);
    m_pLateRight->shareShaping(*m_pLateLeft);
    // The aligning delays never change length: one sample more than the delay is all they hold.
    const CDelayLine::Capacity capacity{kLateDelay + 1};
    m_pLateDelayLeft = std::make_unique<CDelayLine>(capacity, kLateDelay, 0.0, 100.0);
    m_pLateDelayRight = std::make_unique<CDelayLine>(capacity, kLateDelay, 0.0, 100.0);
}

float CTessaline::tailTimeMs(int32_t sampleRate)
{
    return tailTimeMsFor(kRoomDelay + kResponseLength, sampleRate > 0 ? sampleRate : kBankSampleRate);
}

void CTessaline::buildStage(CPartitionedConvolver& stage)
{
    const int fs = m_nSampleRate;
    stage.reloadPosition(static_cast<int>(m_uPosition), fs);
    stage.setAllDecays(m_fAbsFB, m_fAbsLR, m_fAbsCF, fs, m_nCurveType);
    stage.setVolumes(m_fVolFB, m_fVolLR, m_fVolCF);
}

void CTessaline::buildRoom()
{
    buildStage(*m_pEarlyLeft);
    buildStage(*m_pEarlyRight);
    buildStage(*m_pLateLeft);
    buildStage(*m_pLateRight);
    m_pLateDelayLeft->reset(kLateDelay, 0.0, 100.0);
    m_pLateDelayRight->reset(kLateDelay, 0.0, 100.0);
    m_fTailTimeMs = tailTimeMs(m_nSampleRate);
}

void CTessaline::useSpectrumPrecision(SpectrumPrecision precision)
{
    m_SpectrumPrecision = precision;
    createEngine();
    buildRoom();
}

bool CTessaline::postConstruct()
{
    buildRoom();
    return true;
}

// [main thread] Setup or activation: a fresh start at the host's rate. The stages are emptied as
// well, so a re-rendered or re-activated instance gives exactly the same output every time.
bool CTessaline::prepare()
{
    buildRoom();
    m_pEarlyLeft->resetSignal();
    m_pEarlyRight->resetSignal();
    m_pLateLeft->resetSignal();
    m_pLateRight->resetSignal();
    m_nForgetStage = 0;
    CPlugIn::prepare();
    return true;
}

// [audio thread] One ear: early stage plus the late stage delayed into line, times the gain.
// A non-finite input sample counts as silence, and a finite one is held within +-kInputCeiling:
// far above any real signal, yet low enough that the room's gain can never overflow a float.
// Inlined into processFrame: the call itself cost as much as the clamping. The clamp is taken in
// float, where it picks exactly the value the widened sample would, and the stages skip their own
// finiteness check on a sample that has passed this one.
[[gnu::always_inline]] inline float CTessaline::processEar(CPartitionedConvolver& early,
                                                           CPartitionedConvolver& late, CDelayLine& delay,
                                                           float input)
{
    const double x = roomInputSample(input);
    early.processFiniteSample(x);
    late.processFiniteSample(x);
    delay.processSample(late.output());
    return static_cast<float>(delay.output() + early.output()) * m_fGain;
}

// [audio thread]
bool CTessaline::processFrame(const float* in, float* out, uint32_t inChannels, uint32_t outChannels)
{
    if (in == nullptr || out == nullptr)
        return false;
    smoothControls();
    const bool mono = m_fStereoMono != 0;
    const bool right = m_fLeftRight != 0;
    const float leftInput = (mono && right) ? in[1] : in[0];
    out[0] = processEar(*m_pEarlyLeft, *m_pLateLeft, *m_pLateDelayLeft, leftInput);
    if (inChannels == 2 && outChannels == 2)
    {
        const float rightInput = (!mono || right) ? in[1] : in[0];
        out[1] = processEar(*m_pEarlyRight, *m_pLateRight, *m_pLateDelayRight, rightInput);
    }
    return true;
}

bool CTessaline::earIsIdle(const CPartitionedConvolver& early, const CPartitionedConvolver& late,
                           const CDelayLine& delay) const
{
    return early.canSkip() && late.canSkip() && delay.holdsOnlyZeros();
}

// [audio thread] An idle room, one that has forgotten all it heard and whose controls are at
// rest, gives zeros for zero input: the stages only move their counters, and the aligning delays
// (holding only zeros) and the smoothers (repeating themselves) need not move at all. The ears
// skipped are those processFrame runs for the same channel count.
bool CTessaline::skipSilentFrames(uint32_t frames, uint32_t channels)
{
    if (m_bNeverSkip || !smoothingAtRest())
        return false;
    const bool both = channels == 2;
    if (!earIsIdle(*m_pEarlyLeft, *m_pLateLeft, *m_pLateDelayLeft)
        || (both && !earIsIdle(*m_pEarlyRight, *m_pLateRight, *m_pLateDelayRight)))
        return false;
    m_pEarlyLeft->skipSilence(frames);
    m_pLateLeft->skipSilence(frames);
    if (both)
    {
        m_pEarlyRight->skipSilence(frames);
        m_pLateRight->skipSilence(frames);
    }
    return true;
}

// [audio thread] The stages one after the other, each taking what is left of the budget; the
// aligning delays hold 257 samples each and are emptied whole at the end.
bool CTessaline::forgetSignal(uint32_t frames)
{
    long budget =
        frames == 0 ? std::numeric_limits<long>::max() : static_cast<long>(frames) * kForgetBytesPerFrame;
    CPartitionedConvolver* stages[4] = {m_pEarlyLeft.get(), m_pEarlyRight.get(), m_pLateLeft.get(),
                                        m_pLateRight.get()};
    for (; m_nForgetStage < 4; ++m_nForgetStage)
        if (!stages[m_nForgetStage]->forgetSignal(budget))
            return false;
    emptyDelays();
    m_nForgetStage = 0;
    return true;
}

void CTessaline::emptyDelays()
{
    m_pLateDelayLeft->reset(kLateDelay, 0.0, 100.0);
    m_pLateDelayRight->reset(kLateDelay, 0.0, 100.0);
}

// Acts on the four stages in the order early left, early right, late left, late right.
bool CTessaline::controlChanged(uint32_t uId)
{
    const int fs = m_nSampleRate;
    CPartitionedConvolver* stages[4] = {m_pEarlyLeft.get(), m_pEarlyRight.get(), m_pLateLeft.get(),
                                        m_pLateRight.get()};
    switch (uId)
    {
    case kPosition:
        for (CPartitionedConvolver* s : stages)
            s->loadPosition(static_cast<int>(m_uPosition), fs);
        break;
    case kVolLR:
    case kVolFB:
    case kVolCF:
        for (CPartitionedConvolver* s : stages)
            s->setVolumes(m_fVolFB, m_fVolLR, m_fVolCF);
        break;
    case kAbsLR:
        for (CPartitionedConvolver* s : stages)
            s->setDecayLR(m_fAbsLR, fs, m_nCurveType);
        break;
    case kAbsFB:
        for (CPartitionedConvolver* s : stages)
            s->setDecayFB(m_fAbsFB, fs, m_nCurveType);
        break;
    case kAbsCF:
        for (CPartitionedConvolver* s : stages)
            s->setDecayCF(m_fAbsCF, fs, m_nCurveType);
        break;
    case kDecayType:
        for (CPartitionedConvolver* s : stages)
            s->setAllDecays(m_fAbsFB, m_fAbsLR, m_fAbsCF, fs, m_nCurveType);
        break;
    default: // Gain, Stereo/Mono, Left/Right are read per frame; other ids are not ours
        break;
    }
    return true;
}

// Never reached while m_bProcessWholeBuffers is off: a plain copy.
bool CTessaline::processInterleavedBuffer(float* in, float* out, uint32_t, uint32_t, uint32_t sampleCount)
{
    if (in == nullptr || out == nullptr)
        return false;
    std::memmove(out, in, sizeof(float) * sampleCount);
    return true;
}

// Never reached while m_bProcessWholeBuffers is off: copies the first two channels.
bool CTessaline::processBuffers(float** in, float** out, uint32_t channels, uint32_t frames)
{
    if (in == nullptr || out == nullptr || channels == 0)
        return false;
    if (in[0] != nullptr && out[0] != nullptr)
        std::memmove(out[0], in[0], sizeof(float) * frames);
    if (channels > 1 && in[1] != nullptr && out[1] != nullptr)
        std::memmove(out[1], in[1], sizeof(float) * frames);
    return true;
}
