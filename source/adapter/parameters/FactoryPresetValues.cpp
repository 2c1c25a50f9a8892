#include "adapter/parameters/FactoryPresetValues.h"

#include "adapter/parameters/ValueMapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

int32_t factoryPresetSlot(const CPlugIn& plugIn, int32_t listPosition)
{
    if (listPosition < 0)
        return -1;
    int32_t position = 0;
    for (int32_t slot = 0; slot < kPresetSlots; ++slot)
    {
        const char* name = plugIn.m_PresetNames[slot];
        if (!name || !*name)
            continue;
        if (position == listPosition)
            return slot;
        ++position;
    }
    return -1;
}

void factoryPresetValues(const CPlugIn& plugIn, int32_t slot, float* values, uint32_t count, float& joystickX,
                         float& joystickY)
{
    for (uint32_t k = 0; k < count; ++k)
    {
        const CControlEntry* control = plugIn.m_ControlList.controlAt(k);
        if (!control)
        {
            values[k] = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        const auto p = static_cast<float>(control->dPresetValues[slot]);
        const float span = control->fMax - control->fMin;
        values[k] = plainOfPosition(*control, span != 0.0f ? (p - control->fMin) / span : 0.0f);
    }
    const double c = plugIn.m_JoystickX.dPresetValues[slot];
    const double d = plugIn.m_JoystickY.dPresetValues[slot];
    const double axes[2] = {(c - d) / 1.41421356 / 1.414, (c + d) / 1.41421356 / 1.414};
    for (int axis = 0; axis < 2; ++axis)
    {
        const float position = std::isfinite(axes[axis])
                                   ? std::clamp(static_cast<float>(axes[axis]), -1.0f, 1.0f)
                                   : std::numeric_limits<float>::quiet_NaN();
        (axis == 0 ? joystickX : joystickY) = position;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
