// Room shaping: decay envelopes, component volumes and how a stage combines its three
// components into the response it gathers. For absolute response index i:
//   response[i] = ((envFB[i]·volFB)·FB[i] ± (envLR[i]·volLR)·LR[i]) + (envCF[i]·volCF)·CF[i]
// with + for the left ear and − for the right ear. A setting change first shapes the samples
// the block has reached with the settings in force, then stores the new setting; the samples
// shaped from then on follow the formula with it.
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
    if (m_EnvFB.wouldChange(absFB, sampleRate, curveType) || m_EnvLR.wouldChange(absLR, sampleRate, curveType)
        || m_EnvCF.wouldChange(absCF, sampleRate, curveType))
        shapeUpToChange();
    const bool fb = m_EnvFB.set(absFB, sampleRate, curveType);
    const bool lr = m_EnvLR.set(absLR, sampleRate, curveType);
    const bool cf = m_EnvCF.set(absCF, sampleRate, curveType);
    if (fb || lr || cf)
        combine();
}

void CPartitionedConvolver::setDecayFB(double absorption, int sampleRate, int curveType)
{
    if (m_EnvFB.wouldChange(absorption, sampleRate, curveType))
        shapeUpToChange();
    if (m_EnvFB.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setDecayLR(double absorption, int sampleRate, int curveType)
{
    if (m_EnvLR.wouldChange(absorption, sampleRate, curveType))
        shapeUpToChange();
    if (m_EnvLR.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setDecayCF(double absorption, int sampleRate, int curveType)
{
    if (m_EnvCF.wouldChange(absorption, sampleRate, curveType))
        shapeUpToChange();
    if (m_EnvCF.set(absorption, sampleRate, curveType))
        combine();
}

void CPartitionedConvolver::setVolumes(double volFB, double volLR, double volCF)
{
    const double fb = saneVolume(volFB), lr = saneVolume(volLR), cf = saneVolume(volCF);
    if (fb == m_dVolFB && lr == m_dVolLR && cf == m_dVolCF)
        return;
    shapeUpToChange();
    m_dVolFB = fb;
    m_dVolLR = lr;
    m_dVolCF = cf;
    combine();
}

bool CPartitionedConvolver::publishedTablesCurrent() const
{
    return m_pTableFB == usableTable(*m_pCompFB) && m_pTableLR == usableTable(*m_pCompLR)
           && m_pTableCF == usableTable(*m_pCompCF);
}

// Publishes the component tables the shaping reads. A table that is unbound or shorter than
// the stage's region contributes silence rather than reading past its end. A partition shaped
// before (here or by the twin) no longer stands for the settings: it is shaped again when due.
void CPartitionedConvolver::combine()
{
    shapeUpToChange();
    responseChanged();
    m_pTableFB = usableTable(*m_pCompFB);
    m_pTableLR = usableTable(*m_pCompLR);
    m_pTableCF = usableTable(*m_pCompCF);
}

// A volume or envelope changed (the tables stay as published).
void CPartitionedConvolver::responseChanged()
{
    m_nSettledBlocks = 0; // partitions shaped from now on may differ from those stored
    m_nShapedPartition = -1;
    m_bRestShaped = false;
    if (m_pTwin != nullptr)
        m_pTwin->m_nShapedPartition = -1;
}

bool CPartitionedConvolver::shareShaping(CPartitionedConvolver& other)
{
    if (&other == this || other.m_nPartitionSize != m_nPartitionSize || other.m_nStageStart != m_nStageStart
        || other.m_nStageEnd != m_nStageEnd)
        return false;
    for (CPartitionedConvolver* s : {this, &other})
    {
        if (s->m_pTwin != nullptr)
            s->m_pTwin->m_pTwin = nullptr;
        s->m_nShapedPartition = -1;
    }
    m_pTwin = &other;
    other.m_pTwin = this;
    return true;
}

bool CPartitionedConvolver::shapesLike(const CPartitionedConvolver& twin) const
{
    return twin.m_pTableFB == m_pTableFB && twin.m_pTableLR == m_pTableLR && twin.m_pTableCF == m_pTableCF
           && twin.m_dVolFB == m_dVolFB && twin.m_dVolLR == m_dVolLR && twin.m_dVolCF == m_dVolCF
           && twin.m_EnvFB.sameAs(m_EnvFB) && twin.m_EnvLR.sameAs(m_EnvLR) && twin.m_EnvCF.sameAs(m_EnvCF);
}

// [audio thread] Envelopes once per piece for both ears when the twin's settings agree: its
// partition then comes out exactly as its own shaping would give it. A settings change
// (combine) leaves m_Shaped's data for a step 0 that awaits it, but no longer vouches for it.
const double* CPartitionedConvolver::shapedPartition(int p)
{
    if (m_nShapedPartition != p)
    {
        // Not into a twin's partition that its block's end shaped and its step 0 still awaits.
        CPartitionedConvolver* twin = m_pTwin != nullptr && !m_pTwin->m_bPendingShaped
                                              && m_pTwin->m_nShapedUpTo == 0 && shapesLike(*m_pTwin)
                                          ? m_pTwin
                                          : nullptr;
        shapeRange(p, 0, m_nPartitionSize, twin);
        m_nShapedPartition = p;
        if (twin != nullptr)
            twin->m_nShapedPartition = p;
    }
    return m_Shaped.get();
}

// The block has reached the samples up to the end of the chunk m_nIndex falls in (every one
// when the next sample completes the block): those are shaped now with the settings in force.
// A stage settled when its block began reaches none until a sample follows the change: the
// samples so far then take the settings that sample finds.
void CPartitionedConvolver::shapeUpToChange()
{
    if (responseSettled())
    {
        m_nDeferredAt = m_nIndex;
        return;
    }
    if (m_bDeferred)
    {
        if (m_nIndex == m_nDeferredAt)
            return;
        m_bDeferred = false;
    }
    const int upTo = std::min(m_nPartitionSize, (m_nIndex + m_nChunk - 1) / m_nChunk * m_nChunk);
    const int from = m_nShapedUpTo;
    if (upTo <= from)
        return;
    // The other ear, where it has reached the same samples of the same partition with agreeing
    // settings, has them shaped too (a room changes both ears at the same frame).
    CPartitionedConvolver* twin = m_pTwin;
    if (twin != nullptr
        && (twin->m_nIndex != m_nIndex || twin->m_nLoadPos != m_nLoadPos || twin->m_nShapedUpTo != from
            || twin->m_bDeferred || twin->responseSettled() || twin->m_bPendingShaped || twin->m_bRestShaped
            || !shapesLike(*twin)))
        twin = nullptr;
    shapeRange((m_nLoadPos - m_nStageStart) / m_nPartitionSize, from, upTo, twin);
    m_nShapedUpTo = upTo;
    m_nShapedPartition = -1; // m_Shaped now holds a part of the partition being gathered
    if (twin != nullptr)
    {
        twin->m_nShapedUpTo = upTo;
        twin->m_nShapedPartition = -1;
    }
}

// The twin may shape the rest for both only where it stands at the same point of the same
// partition with agreeing settings.
void CPartitionedConvolver::finishShaping(int p)
{
    const int from = m_nShapedUpTo;
    if (from == 0)
    {
        shapedPartition(p);
        return;
    }
    if (m_bRestShaped)
        return;
    CPartitionedConvolver* twin = m_pTwin;
    if (twin != nullptr
        && (twin->m_bPendingShaped || twin->m_nShapedUpTo != from || twin->m_bRestShaped
            || twin->m_nLoadPos != m_nStageStart + p * m_nPartitionSize || !shapesLike(*twin)))
        twin = nullptr;
    shapeRange(p, from, m_nPartitionSize, twin);
    if (twin != nullptr)
        twin->m_bRestShaped = true;
}

void CPartitionedConvolver::shapeRange(int p, int from, int to, CPartitionedConvolver* twin)
{
    const int start = m_nStageStart + p * m_nPartitionSize;
    for (int k = from; k < to; k += m_nPiece)
    {
        const int n = std::min(m_nPiece, to - k);
        shapePiece(start, k, n, m_Shaped.get() + k, twin != nullptr ? twin->m_Shaped.get() + k : nullptr);
    }
}

// [audio thread] Response samples partitionStart + offset … + count − 1 (count <= kMaxPiece,
// all inside one partition).
void CPartitionedConvolver::shapePiece(int partitionStart, int offset, int count, double* out, double* other)
{
    double envFB[kMaxPiece], envLR[kMaxPiece], envCF[kMaxPiece];
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
    if (other != nullptr)
        m_Kernels.shapeResponse(env, table, vol, m_pTwin->m_nEar != 0, count, other);
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
        const int n = std::min({m_nPiece, c - offset, last - i});
        shapePiece(partitionStart, offset, n, out + (i - start), nullptr);
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
