// The offline ear: stage checks, block ends and the engine's catching up.
#include "engine/COfflineEar.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <stdexcept>

namespace {

long nextPowerOfTwo(long n)
{
    long p = 1;
    while (p < n)
        p *= 2;
    return p;
}

} // namespace

COfflineEar::Geometry COfflineEar::geometryOf(int onset, int responseLength, const std::vector<Stage>& stages)
{
    if (stages.empty() || onset < 0 || responseLength < 1)
        throw std::invalid_argument("COfflineEar: shape");
    Geometry g;
    long end = 0;
    long ahead = 0;
    for (std::size_t i = 0; i < stages.size(); ++i)
    {
        const Stage& s = stages[i];
        const long c = s.partitionSize;
        if (s.regionStart != end || s.partitions < 1 || c < 8 || !isPowerOfTwo(s.partitionSize)
            || c > static_cast<long>(s.regionStart) + onset + 1
            || (i > 0 && c % stages[i - 1].partitionSize != 0))
            throw std::invalid_argument("COfflineEar: stages");
        end += c * s.partitions;
        g.largest = c;
        // The furthest a block end writes ahead of its own sample: onset + S + 2c − (c − 1).
        ahead = std::max(ahead, static_cast<long>(onset) + s.regionStart + c + 1);
    }
    if (end < responseLength || end - stages.back().partitionSize >= responseLength)
        throw std::invalid_argument("COfflineEar: stages do not end with the response");
    g.padded = end;
    g.reach = onset + end;
    g.record = nextPowerOfTwo(g.reach + g.largest);
    g.output = nextPowerOfTwo(ahead + 1);
    return g;
}

COfflineEar::COfflineEar(int onset, int responseLength, const std::vector<Stage>& stages)
    : COfflineEar(onset, responseLength, stages, geometryOf(onset, responseLength, stages))
{}

COfflineEar::COfflineEar(int onset, int responseLength, const std::vector<Stage>& stages, const Geometry& g)
    : m_nOnset(onset)
    , m_nResponseLength(responseLength)
    , m_Stages(stages)
    , m_lReach(g.reach)
    , m_lLargest(g.largest)
    , m_lSmallestMask(stages.front().partitionSize - 1)
    , m_lRecordMask(g.record - 1)
    , m_lOutputMask(g.output - 1)
    , m_Record(static_cast<std::size_t>(g.record))
    , m_Output(static_cast<std::size_t>(g.output))
    , m_Response(static_cast<std::size_t>(g.padded))
{
    for (const Stage& s : stages)
        m_Convolvers.push_back(std::make_unique<CBlockConvolver>(s.partitionSize, s.partitions));
}

COfflineEar::~COfflineEar() = default;

void COfflineEar::reset()
{
    forget();
    m_lClock = 0;
    m_lEngineClock = 0;
}

void COfflineEar::forget()
{
    m_Record.zero();
    m_Output.zero();
    for (auto& convolver : m_Convolvers)
        convolver->clearSignal();
    // Zeros in, zeros out: the engine holds what it would after hearing zeros up to the clock.
    m_lEngineClock = m_lClock;
}

void COfflineEar::setResponse(const double* response)
{
    double* padded = m_Response.get();
    std::copy(response, response + m_nResponseLength, padded);
    std::fill(padded + m_nResponseLength, padded + m_Response.size(), 0.0);
    for (std::size_t i = 0; i < m_Stages.size(); ++i)
        m_Convolvers[i]->setResponse(padded + m_Stages[i].regionStart);
    m_bEngineValid = false;
}

void COfflineEar::endBlocks(long n)
{
    for (std::size_t i = 0; i < m_Stages.size(); ++i)
    {
        const Stage& s = m_Stages[i];
        const long c = s.partitionSize;
        if (((n + 1) & (c - 1)) != 0)
            break; // larger partitions divide by this one: their blocks cannot end here either
        const long start = n + 1 - c;
        m_Convolvers[i]->processBlock(m_Record.get() + (start & m_lRecordMask), m_Output.get(), m_lOutputMask,
                                      start + m_nOnset + s.regionStart);
    }
}

// The block ends from the engine's clock to the ear's. What they would add to samples already
// played is left out; a block whose whole result would land before the present is only taken
// into its stage's delay line, and when the engine starts from silence, one that reaches no
// sample from the present on through any partition is skipped (the line holds zeros for it).
void COfflineEar::feedEngine(bool fromSilence)
{
    const long now = m_lClock;
    // What was summed for samples now past goes (all of the ring when they are that many).
    for (long n = std::max(m_lEngineClock, now - (m_lOutputMask + 1)); n < now; ++n)
        m_Output[static_cast<std::size_t>(n & m_lOutputMask)] = 0.0;
    const long smallest = m_lSmallestMask + 1;
    for (long end = (m_lEngineClock + smallest) / smallest * smallest; end <= now; end += smallest)
    {
        for (std::size_t i = 0; i < m_Stages.size(); ++i)
        {
            const Stage& s = m_Stages[i];
            const long c = s.partitionSize;
            if ((end & (c - 1)) != 0)
                break;
            const long start = end - c;
            const long at = start + m_nOnset + s.regionStart;
            const double* block = m_Record.get() + (start & m_lRecordMask);
            if (at + 2 * c > now)
                m_Convolvers[i]->processBlock(block, m_Output.get(), m_lOutputMask, at,
                                              std::max(0L, now - at));
            else if (!fromSilence || at + (s.partitions + 1) * c > now)
                m_Convolvers[i]->storeBlock(block);
        }
    }
    m_lEngineClock = now;
}

void COfflineEar::catchUp()
{
    const long behind = m_lClock - m_lEngineClock;
    if (m_bEngineValid && behind < m_lReach + m_lLargest)
    {
        feedEngine(false);
        return;
    }
    // Rebuilt from silence at a boundary of the largest blocks, far enough back that nothing
    // recorded before it still reaches the output from the present on (it is in the record).
    const long start = std::max(0L, (m_lClock - m_lReach) / m_lLargest * m_lLargest);
    m_Output.zero();
    for (auto& convolver : m_Convolvers)
        convolver->clearSignal();
    m_lEngineClock = start;
    m_bEngineValid = true;
    feedEngine(true);
}
