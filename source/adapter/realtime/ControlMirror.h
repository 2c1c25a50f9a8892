// The control values, bypass and joystick as last seen by the thread that owns the DSP object,
// readable from the main thread without touching the DSP object (getState while processing).
#pragma once

#include "core/CPlugIn.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CControlMirror
{
public:
    // [main thread, not processing]
    void allocate(uint32_t controls);
    // [the thread that owns the DSP object: audio while processing, else main] No allocation.
    void storeFrom(const CPlugIn& plugIn, bool bypass);

    // [any thread]
    uint32_t count() const { return m_uCount; }
    float control(uint32_t k) const { return m_pValues[k].load(std::memory_order_relaxed); }
    bool bypass() const { return m_bBypass.load(std::memory_order_relaxed); }
    float joystickX() const { return m_fJoystickX.load(std::memory_order_relaxed); }
    float joystickY() const { return m_fJoystickY.load(std::memory_order_relaxed); }

private:
    std::unique_ptr<std::atomic<float>[]> m_pValues;
    uint32_t m_uCount = 0;
    std::atomic<bool> m_bBypass{false};
    std::atomic<float> m_fJoystickX{0.0f};
    std::atomic<float> m_fJoystickY{0.0f};
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
