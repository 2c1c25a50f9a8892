// Selection of a source position: binding the three component tables of the position to a
// stage. Only pointers change; the bank is never copied or written.
#include "engine/CPartitionedConvolver.h"
#include "room/ResponseBank.h"

void bindComponent(CComponentIR& component, int k)
{
    component.m_pData = (k >= 0 && k < kTableCount) ? roomResponseTable(k) : nullptr;
}

// Positions outside the bank's table range fall back to Center; the in-range values above
// the last position keep the current components and only recombine.
void CPartitionedConvolver::loadPosition(int position, int /*sampleRate*/)
{
    if (position < 0 || position >= kTableCount)
        position = 0;
    if (position < kPositionCount) {
        bindComponent(*m_pCompFB, fbTableOf(position));
        bindComponent(*m_pCompLR, lrTableOf(position));
        bindComponent(*m_pCompCF, cfTableOf(position));
    }
    combine();
}

void CPartitionedConvolver::reloadPosition(int position, int sampleRate)
{
    loadPosition(position, sampleRate);
}
