#include "adapter/realtime/ControlMirror.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void CControlMirror::allocate(uint32_t controls)
{
    m_pValues.reset(new std::atomic<float>[controls > 0 ? controls : 1]);
    m_uCount = controls;
    for (uint32_t k = 0; k < controls; ++k)
        m_pValues[k].store(0.0f, std::memory_order_relaxed);
}

void CControlMirror::storeFrom(const CPlugIn& plugIn, bool bypass)
{
    for (uint32_t k = 0; k < m_uCount; ++k)
        m_pValues[k].store(plugIn.getControlValue(k), std::memory_order_relaxed);
    float x = 0.0f;
    float y = 0.0f;
    plugIn.getJoystickValues(x, y);
    m_fJoystickX.store(x, std::memory_order_relaxed);
    m_fJoystickY.store(y, std::memory_order_relaxed);
    m_bBypass.store(bypass, std::memory_order_relaxed);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
