// Room shaping: decay envelopes, component volumes and how a stage combines its three
// components into the response it gathers. For absolute response index i:
//   response[i] = ((envFB[i]·volFB)·FB[i] ± (envLR[i]·volLR)·LR[i]) + (envCF[i]·volCF)·CF[i]
// with + for the left ear and − for the right ear. A setting change only stores the new
// setting; the partitions the stage gathers from then on follow the formula with it.
#include "engine/CPartitionedConvolver.h"

#include <algorithm>
#include <cmath>

namespace {

// Volumes far beyond any control's range, or not finite, would flood the transforms with
// infinities; they are clamped so that the output stays finite.
double saneVolume(double volume)
{
    constexpr double kLimit = 1.0e6;
    return std::isfinite(volume) ? std::clamp(volume, -kLimit, kLimit) : 0.0;
}

} // namespace

// A setting given again unchanged leaves the response as it is: nothing is recombined, so a
// settled stage stays settled (hosts resend automation values that did not move).
void CPartitionedConvolver::setAllDecays(double absFB, double absLR, double absCF, int sampleRate,
                                         int curveType)
{
    const bool fb = m_EnvFB.set(absFB, sampleRate, curveType);
    const bool lr = m_EnvLR.set(absLR, sampleRate, curveType);
    const bool cf = m_EnvCF.set(absCF, sampleRate, curveType);
    if (fb || lr || cf)
        combine();
}

void CPartitionedConvolver::setDecayFB(double absorption, int sampleRate, int curveType)
{
    if (m_EnvFB.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setDecayLR(double absorption, int sampleRate, int curveType)
{
    if (m_EnvLR.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setDecayCF(double absorption, int sampleRate, int curveType)
{
    if (m_EnvCF.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setVolumes(double volFB, double volLR, double volCF)
{
    const double fb = saneVolume(volFB), lr = saneVolume(volLR), cf = saneVolume(volCF);
    if (fb == m_dVolFB && lr == m_dVolLR && cf == m_dVolCF)
        return;
    m_dVolFB = fb;
    m_dVolLR = lr;
    m_dVolCF = cf;
    combine();
}

const double* CPartitionedConvolver::usableTable(const CComponentIR& component) const
{
    return component.m_pData != nullptr && component.m_nLength >= m_nStageEnd ? component.m_pData : nullptr;
}

bool CPartitionedConvolver::publishedTablesCurrent() const
{
    return m_pTableFB == usableTable(*m_pCompFB) && m_pTableLR == usableTable(*m_pCompLR)
           && m_pTableCF == usableTable(*m_pCompCF);
}

// Publishes the component tables the gathering reads. A table that is unbound or shorter
// than the stage's region contributes silence rather than reading past its end.
void CPartitionedConvolver::combine()
{
    m_nSettledBlocks = 0; // partitions gathered from now on may differ from those stored
    m_nNextEventAt = 0;   // the next sample picks gathering up again
    m_pTableFB = usableTable(*m_pCompFB);
    m_pTableLR = usableTable(*m_pCompLR);
    m_pTableCF = usableTable(*m_pCompCF);
    // The next chunk to be built reads the tables just published: fetch it now.
    int next = m_nLoadPos + (m_nIndex + m_nChunk - 1) / m_nChunk * m_nChunk;
    if (next >= m_nStageEnd)
        next = m_nStageStart;
    prefetchTables(next);
}

// [audio thread] Response samples partitionStart + offset … + count − 1 (count <= kMaxChunk,
// all inside one partition).
void CPartitionedConvolver::shapeChunk(int partitionStart, int offset, int count, double* out)
{
    double envFB[kMaxChunk], envLR[kMaxChunk], envCF[kMaxChunk];
    m_EnvFB.fill(partitionStart, offset, count, envFB);
    m_EnvLR.fill(partitionStart, offset, count, envLR);
    m_EnvCF.fill(partitionStart, offset, count, envCF);

    const int first = partitionStart + offset;
    const double* env[3] = {envFB, envLR, envCF};
    const double* table[3] = {m_pTableFB != nullptr ? m_pTableFB + first : m_Silence.get(),
                              m_pTableLR != nullptr ? m_pTableLR + first : m_Silence.get(),
                              m_pTableCF != nullptr ? m_pTableCF + first : m_Silence.get()};
    const double vol[3] = {m_dVolFB, m_dVolLR, m_dVolCF};
    m_Kernels.shapeResponse(env, table, vol, m_nEar != 0, count, out);
}

void CPartitionedConvolver::shapedResponse(int start, int count, double* out)
{
    const int c = m_nPartitionSize;
    const int first = std::max(start, m_nStageStart);
    const int last = std::min(start + count, m_nStageEnd);
    std::fill(out, out + count, 0.0);
    for (int i = first; i < last;)
    {
        const int partitionStart = m_nStageStart + (i - m_nStageStart) / c * c;
        const int offset = i - partitionStart;
        const int n = std::min({m_nChunk, c - offset, last - i});
        shapeChunk(partitionStart, offset, n, out + (i - start));
        i += n;
    }
}

CComponentIR& CPartitionedConvolver::component(Component which)
{
    switch (which)
    {
    case Component::kFB: return *m_pCompFB;
    case Component::kLR: return *m_pCompLR;
    case Component::kCF: break;
    }
    return *m_pCompCF;
}
