// A set of changes to the DSP object's controls made on the main thread (a restored state or a
// preset): plain control values, bypass and joystick. A field that is not part of the change
// stays as it is when the snapshot is applied.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

struct CControlSnapshot
{
    static constexpr float kKeep = std::numeric_limits<float>::quiet_NaN();

    std::unique_ptr<float[]> values; // plain value per control position; NaN: keep
    uint32_t count = 0;
    int8_t bypass = -1; // -1 keep, 0 off, 1 on
    float joystickX = kKeep;
    float joystickY = kKeep;
    uint64_t sequence = 0;

    // [main thread] Storage for `controls` values; everything kept.
    void allocate(uint32_t controls)
    {
        values.reset(new float[controls > 0 ? controls : 1]);
        count = controls;
        clear();
    }
    void clear()
    {
        for (uint32_t k = 0; k < count; ++k)
            values[k] = kKeep;
        bypass = -1;
        joystickX = kKeep;
        joystickY = kKeep;
    }
    // Copies without allocating (same control count).
    void copyFrom(const CControlSnapshot& other)
    {
        for (uint32_t k = 0; k < count && k < other.count; ++k)
            values[k] = other.values[k];
        bypass = other.bypass;
        joystickX = other.joystickX;
        joystickY = other.joystickY;
        sequence = other.sequence;
    }
    bool keeps(uint32_t k) const { return std::isnan(values[k]); }
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
