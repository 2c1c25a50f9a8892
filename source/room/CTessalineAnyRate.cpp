// CTessalineAnyRate: the per-rate layout and tables, and the frame processing with the early
// delay that completes the onset.
#include "room/CTessalineAnyRate.h"

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"
#include "room/ResampledBank.h"
#include "room/RoomInput.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace {} // namespace

// The engine of one layout, built whole before it replaces the one in use.
struct CTessalineAnyRate::Engine
{
    std::unique_ptr<CPartitionedConvolver> earlyLeft, earlyRight, lateLeft, lateRight;
    std::unique_ptr<CDelayLine> earlyDelayLeft, earlyDelayRight, lateDelayLeft, lateDelayRight;
};

namespace {
CTessalineAnyRate::Engine buildEngine(const CRoomLayout& l, const IResponseTables& tables, int fs,
                                      SpectrumPrecision p)
{
    CTessalineAnyRate::Engine e;
    e.earlyLeft = std::make_unique<CPartitionedConvolver>(tables, 0, fs, 0, l.nResponseLength, l.nEarlyLength,
                                                          l.nEarlyPartition, 0, p);
    e.earlyRight = std::make_unique<CPartitionedConvolver>(tables, 0, fs, 1, l.nResponseLength,
                                                           l.nEarlyLength, l.nEarlyPartition, 0, p);
    e.lateLeft = std::make_unique<CPartitionedConvolver>(tables, 0, fs, 0, l.nResponseLength, l.nLateLength,
                                                         l.nLatePartition, l.nLateStart, p);
    e.lateRight = std::make_unique<CPartitionedConvolver>(tables, 0, fs, 1, l.nResponseLength, l.nLateLength,
                                                          l.nLatePartition, l.nLateStart, p);
    e.earlyRight->shareTransforms(*e.earlyLeft);
    e.lateRight->shareTransforms(*e.lateLeft);
    e.earlyRight->shareShaping(*e.earlyLeft);
    e.lateRight->shareShaping(*e.lateLeft);
    e.earlyDelayLeft =
        std::make_unique<CDelayLine>(CDelayLine::Capacity{l.nEarlyDelay + 1}, l.nEarlyDelay, 0.0, 100.0);
    e.earlyDelayRight =
        std::make_unique<CDelayLine>(CDelayLine::Capacity{l.nEarlyDelay + 1}, l.nEarlyDelay, 0.0, 100.0);
    e.lateDelayLeft =
        std::make_unique<CDelayLine>(CDelayLine::Capacity{l.nLateDelay + 1}, l.nLateDelay, 0.0, 100.0);
    e.lateDelayRight =
        std::make_unique<CDelayLine>(CDelayLine::Capacity{l.nLateDelay + 1}, l.nLateDelay, 0.0, 100.0);
    return e;
}
} // namespace

CTessalineAnyRate::CTessalineAnyRate()
    : m_Layout(roomLayoutAt(m_nSampleRate))
    , m_pTables(acquireRoomTables(m_Layout))
{
    // The base built the bank-rate engine; at the default rate that is this room's layout too,
    // and only the early delays are missing.
    createEngine();
    m_pPlugInName = "Tessaline Any Rate";
}

CTessalineAnyRate::~CTessalineAnyRate()
{
    // The stages point into the tables: they go first.
    m_pEarlyLeft.reset();
    m_pEarlyRight.reset();
    m_pLateLeft.reset();
    m_pLateRight.reset();
}

// [main thread] The engine for m_Layout over m_pTables. Built whole before anything is replaced,
// so a failure leaves the room as it was.
void CTessalineAnyRate::createEngine()
{
    adoptEngine(buildEngine(m_Layout, *m_pTables, m_Layout.nSampleRate, spectrumPrecision()));
}

// [main thread] Puts a built engine in place of the one in use.
void CTessalineAnyRate::adoptEngine(Engine&& e)
{
    m_pEarlyLeft = std::move(e.earlyLeft);
    m_pEarlyRight = std::move(e.earlyRight);
    m_pLateLeft = std::move(e.lateLeft);
    m_pLateRight = std::move(e.lateRight);
    m_pEarlyDelayLeft = std::move(e.earlyDelayLeft);
    m_pEarlyDelayRight = std::move(e.earlyDelayRight);
    m_pLateDelayLeft = std::move(e.lateDelayLeft);
    m_pLateDelayRight = std::move(e.lateDelayRight);
}

// [main thread] The layout and tables for a rate, engine rebuilt when the sizes or tables change;
// the previous tables are let go only once no stage points into them.
void CTessalineAnyRate::adoptRate(int sampleRate)
{
    const CRoomLayout next = roomLayoutAt(sampleRate);
    if (next.nTableRate == m_Layout.nTableRate && next.nResponseLength == m_Layout.nResponseLength)
    {
        m_Layout = next; // outside the rate-true range only the rate itself moves
        return;
    }
    try
    {
        std::shared_ptr<const IResponseTables> tables = acquireRoomTables(next);
        adoptEngine(buildEngine(next, *tables, sampleRate, spectrumPrecision()));
        m_pTables = std::move(tables);
        m_Layout = next;
    }
    catch (const std::bad_alloc&)
    {}
    catch (const std::runtime_error&)
    {}
}

void CTessalineAnyRate::buildRoom()
{
    buildStage(*m_pEarlyLeft);
    buildStage(*m_pEarlyRight);
    buildStage(*m_pLateLeft);
    buildStage(*m_pLateRight);
    emptyDelays();
    // Every sample of the table after the onset; the padding behind it is silent.
    m_fTailTimeMs = tailTimeMsFor(static_cast<long>(m_Layout.nOnset) + m_Layout.nTableLength, m_nSampleRate);
}

// [audio thread, or main thread while not processing] Both ears' delays at this rate's lengths.
void CTessalineAnyRate::emptyDelays()
{
    m_pEarlyDelayLeft->reset(m_Layout.nEarlyDelay, 0.0, 100.0);
    m_pEarlyDelayRight->reset(m_Layout.nEarlyDelay, 0.0, 100.0);
    m_pLateDelayLeft->reset(m_Layout.nLateDelay, 0.0, 100.0);
    m_pLateDelayRight->reset(m_Layout.nLateDelay, 0.0, 100.0);
}

bool CTessalineAnyRate::prepare()
{
    adoptRate(m_nSampleRate);
    return CTessaline::prepare();
}

// [audio thread] As the original room's ear, with the early part delayed to the onset.
[[gnu::always_inline]] inline float CTessalineAnyRate::processEar(CPartitionedConvolver& early,
                                                                  CPartitionedConvolver& late,
                                                                  CDelayLine& earlyDelay,
                                                                  CDelayLine& lateDelay, float input)
{
    const double x = roomInputSample(input);
    early.processFiniteSample(x);
    late.processFiniteSample(x);
    lateDelay.processSample(late.output());
    // Without an early delay (the bank's rate) the line would pass the sample through unchanged:
    // skipping it saves its work and changes nothing.
    if (m_Layout.nEarlyDelay == 0)
        return static_cast<float>(lateDelay.output() + early.output()) * m_fGain;
    earlyDelay.processSample(early.output());
    return static_cast<float>(lateDelay.output() + earlyDelay.output()) * m_fGain;
}

// [audio thread]
bool CTessalineAnyRate::processFrame(const float* in, float* out, uint32_t inChannels, uint32_t outChannels)
{
    if (in == nullptr || out == nullptr)
        return false;
    smoothControls();
    const bool mono = m_fStereoMono != 0;
    const bool right = m_fLeftRight != 0;
    const float leftInput = (mono && right) ? in[1] : in[0];
    out[0] = processEar(*m_pEarlyLeft, *m_pLateLeft, *m_pEarlyDelayLeft, *m_pLateDelayLeft, leftInput);
    if (inChannels == 2 && outChannels == 2)
    {
        const float rightInput = (!mono || right) ? in[1] : in[0];
        out[1] =
            processEar(*m_pEarlyRight, *m_pLateRight, *m_pEarlyDelayRight, *m_pLateDelayRight, rightInput);
    }
    return true;
}

// [audio thread] As the original room's skip, with the early delays idle as well.
bool CTessalineAnyRate::skipSilentFrames(uint32_t frames, uint32_t channels)
{
    if (!m_pEarlyDelayLeft->holdsOnlyZeros() || (channels == 2 && !m_pEarlyDelayRight->holdsOnlyZeros()))
        return false;
    return CTessaline::skipSilentFrames(frames, channels);
}

CPlugIn* createAnyRatePlugIn() { return new CTessalineAnyRate(); }
