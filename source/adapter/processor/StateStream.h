// The component state stream: one description of its fields, used by the writer (getState)
// and by both readers (setState into the DSP object, setComponentState into the parameters).
//
// Layout, little-endian and packed: uint64 version (1); one field per control-list entry in the
// width of its data type (int32, float32, float64, uint32; nothing for other types); int16
// bypass; float32 joystick X and Y (only when the version is not 0); a later version may append
// fields after these.
#pragma once

#include "core/CPlugIn.h"
#include "pluginterfaces/base/ibstream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

enum class StateField : uint8_t
{
    kInt32,
    kFloat32,
    kFloat64,
    kUint32,
    kNone, // a control of another data type has no field
};

// The decoded content of one stream.
struct StateValues
{
    std::vector<double> controls; // one per control-list index; NaN for an entry without field
    bool bypass = false;
    bool hasJoystick = false; // false for a version-0 stream
    float joystickX = 0.0f;
    float joystickY = 0.0f;
};

class CStateLayout
{
public:
    static constexpr uint64_t kVersion = 1;

    // [main thread] The fields for the DSP object's control list, in index order.
    static CStateLayout fromPlugIn(const CPlugIn& plugIn);

    size_t controlCount() const { return m_Fields.size(); }
    StateField field(size_t index) const { return m_Fields[index]; }
    // Bytes of a complete stream with (version 1) or without (version 0) the joystick fields.
    size_t byteSize(bool withJoystick) const;

    // Reads the whole stream before decoding it. False, with `out` unspecified, when the stream
    // ends before the fields its version carries (a read failure counts as an end). Fields a
    // later version appends after the joystick are not read.
    bool read(IBStream* stream, StateValues& out) const;
    // The same decoding from bytes already in memory (the LV2 state's chunk).
    bool decode(const uint8_t* bytes, size_t size, StateValues& out) const;
    // A version-1 stream as bytes; empty when `values` does not fit the layout.
    std::vector<uint8_t> encode(const StateValues& values) const;
    // Writes a version-1 stream in one piece; false when the stream takes fewer bytes.
    bool write(IBStream* stream, const StateValues& values) const;

private:
    std::vector<StateField> m_Fields;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
