// Main-thread changes to the DSP object (restored state, presets) and their hand-off to the
// audio thread. A control change rebuilds what processFrame reads, so while the component is
// active such a change is never applied on the main thread: it travels as a snapshot and is
// applied at the start of the next block. While inactive it is applied at once.
#include "adapter/processor/Processor.h"

#include <cassert>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void Processor::allocateControlSync()
{
    // [main thread, not processing]
    m_StateLayout = CStateLayout::fromPlugIn(*m_pPlugIn);
    const auto count = static_cast<uint32_t>(m_StateLayout.controlCount());
    m_HandOff.allocate(count);
    m_AudioPreset.allocate(count);
    m_Mirror.allocate(count);
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
}

void Processor::applySnapshot(const CControlSnapshot& snapshot)
{
    assert(m_pPlugIn && "a snapshot applied with no DSP object");
    assert(snapshot.count <= m_pPlugIn->m_ControlList.controlCount());
    for (uint32_t k = 0; k < snapshot.count; ++k)
    {
        if (snapshot.keeps(k))
            continue;
        const float value = snapshot.values[k];
        const CControlEntry* entry = m_pPlugIn->m_ControlList.controlAt(k);
        // An unchanged, unsmoothed control is left alone: no needless rebuild of the room.
        if (!entry || (!entry->bSmooth && m_pPlugIn->getControlValue(k) == value))
            continue;
        m_pPlugIn->setControlPlain(k, value);
    }
    if (snapshot.bypass >= 0)
        m_bBypass = snapshot.bypass != 0;
    if (!std::isnan(snapshot.joystickX))
    {
        m_pPlugIn->setJoystickX(snapshot.joystickX, true);
        m_dJoystickX = snapshot.joystickX * 0.5 + 0.5;
    }
    if (!std::isnan(snapshot.joystickY))
    {
        m_pPlugIn->setJoystickY(snapshot.joystickY, true);
        m_dJoystickY = snapshot.joystickY * 0.5 + 0.5;
    }
}

void Processor::submitDraft()
{
    // [main thread]
    assert(m_pPlugIn && "a draft submitted with no DSP object");
    if (m_bActive)
    {
        m_HandOff.publish();
        return;
    }
    applySnapshot(m_HandOff.draft());
    m_HandOff.discardDraft();
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
}

void Processor::drainPendingChanges()
{
    // [main thread, not processing] A snapshot published while active and never taken.
    if (!m_pPlugIn)
        return;
    if (const CControlSnapshot* snapshot = m_HandOff.take())
    {
        applySnapshot(*snapshot);
        m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
        m_HandOff.markApplied(snapshot->sequence);
    }
}

void Processor::takePendingChanges()
{
    // [audio thread]
    assert(m_pPlugIn);
    m_uTakenSequence = 0;
    if (const CControlSnapshot* snapshot = m_HandOff.take())
    {
        applySnapshot(*snapshot);
        m_uTakenSequence = snapshot->sequence;
    }
    // A program change the host passed to the controller from another thread than the main one.
    const int32 requested = m_nRequestedPreset.exchange(-1, std::memory_order_acq_rel);
    if (requested >= 0)
        applyPresetOnAudioThread(requested);
}

void Processor::publishBlockResults()
{
    // [audio thread] Values first, then the sequence: a main thread that sees the snapshot as
    // applied also sees its values.
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
    if (m_uTakenSequence != 0)
        m_HandOff.markApplied(m_uTakenSequence);
    // A program change is shown to the main thread only with the values it produced.
    if (m_nBlockPreset >= 0)
        m_nAudioPreset.store(m_nBlockPreset, std::memory_order_release);
    m_nBlockPreset = -1;
}

void Processor::currentStateValues(StateValues& values) const
{
    // [main thread]
    const uint32_t count = m_Mirror.count();
    values.controls.resize(count);
    for (uint32_t k = 0; k < count; ++k)
        values.controls[k] = m_Mirror.control(k);
    values.bypass = m_Mirror.bypass();
    values.joystickX = m_Mirror.joystickX();
    values.joystickY = m_Mirror.joystickY();
    values.hasJoystick = true;
    if (!m_HandOff.hasUnapplied())
        return;
    // Changes not yet applied by the audio thread are what the host set last.
    const CControlSnapshot& pending = m_HandOff.draft();
    for (uint32_t k = 0; k < count && k < pending.count; ++k)
        if (!pending.keeps(k))
            values.controls[k] = pending.values[k];
    if (pending.bypass >= 0)
        values.bypass = pending.bypass != 0;
    if (!std::isnan(pending.joystickX))
        values.joystickX = pending.joystickX;
    if (!std::isnan(pending.joystickY))
        values.joystickY = pending.joystickY;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
