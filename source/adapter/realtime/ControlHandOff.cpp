#include "adapter/realtime/ControlHandOff.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void CControlHandOff::allocate(uint32_t controls)
{
    for (CControlSnapshot& slot : m_Slots)
        slot.allocate(controls);
    m_Draft.allocate(controls);
    m_uBack = 0;
    m_uFront = 1;
    m_uMiddle.store(2, std::memory_order_relaxed);
    m_uApplied.store(m_uPublished, std::memory_order_relaxed);
}

CControlSnapshot& CControlHandOff::beginDraft()
{
    if (!hasUnapplied())
        m_Draft.clear();
    return m_Draft;
}

void CControlHandOff::publish()
{
    m_Draft.sequence = ++m_uPublished;
    m_Slots[m_uBack].copyFrom(m_Draft);
    const uint32_t previous = m_uMiddle.exchange(m_uBack | kDirty, std::memory_order_acq_rel);
    m_uBack = previous & 3u;
}

bool CControlHandOff::hasUnapplied() const
{
    return m_uApplied.load(std::memory_order_acquire) < m_uPublished;
}

void CControlHandOff::discardDraft() { m_Draft.clear(); }

const CControlSnapshot* CControlHandOff::take()
{
    if ((m_uMiddle.load(std::memory_order_acquire) & kDirty) == 0)
        return nullptr;
    const uint32_t previous = m_uMiddle.exchange(m_uFront, std::memory_order_acq_rel);
    m_uFront = previous & 3u;
    return &m_Slots[m_uFront];
}

void CControlHandOff::markApplied(uint64_t sequence)
{
    m_uApplied.store(sequence, std::memory_order_release);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
