// Selection of a source position: binding the three component tables of the position to a
// stage. Only pointers change; the bank is never copied or written.
#include "engine/CPartitionedConvolver.h"
#include "engine/IResponseTables.h"

void bindComponent(CComponentIR& component, const IResponseTables& tables, int k)
{
    component.m_pData = (k >= 0 && k < tables.tableCount()) ? tables.table(k) : nullptr;
}

// Positions outside the bank's table range fall back to Center; the in-range values above
// the last position keep the current components and only recombine. Tables bound already and
// published as they are leave the response as it is: a settled stage stays settled.
void CPartitionedConvolver::loadPosition(int position, int /*sampleRate*/)
{
    if (position < 0 || position >= m_Tables.tableCount())
        position = 0;
    const double* before[3] = {m_pCompFB->m_pData, m_pCompLR->m_pData, m_pCompCF->m_pData};
    if (position < m_Tables.positionCount())
    {
        const IResponseTables::PositionTables k = m_Tables.tablesOf(position);
        bindComponent(*m_pCompFB, m_Tables, k.fb);
        bindComponent(*m_pCompLR, m_Tables, k.lr);
        bindComponent(*m_pCompCF, m_Tables, k.cf);
    }
    const bool unchanged = m_pCompFB->m_pData == before[0] && m_pCompLR->m_pData == before[1]
                           && m_pCompCF->m_pData == before[2] && publishedTablesCurrent();
    if (!unchanged)
        combine();
}

void CPartitionedConvolver::reloadPosition(int position, int sampleRate)
{
    loadPosition(position, sampleRate);
}
