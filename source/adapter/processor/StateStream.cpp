#include "adapter/processor/StateStream.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
size_t widthOf(StateField field)
{
    switch (field)
    {
    case StateField::kFloat64: return 8;
    case StateField::kNone: return 0;
    default: return 4;
    }
}

StateField fieldFor(int32_t dataType)
{
    switch (dataType)
    {
    case kDataInt: return StateField::kInt32;
    case kDataFloat: return StateField::kFloat32;
    case kDataDouble: return StateField::kFloat64;
    case kDataUint: return StateField::kUint32;
    default: return StateField::kNone;
    }
}

uint64_t loadLE(const uint8_t* p, size_t width)
{
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint64_t>(p[i]) << (8 * i);
    return value;
}

void storeLE(std::vector<uint8_t>& out, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

float floatFromBits(uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

double doubleFromBits(uint64_t bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

double decodeField(StateField field, uint64_t raw)
{
    switch (field)
    {
    case StateField::kInt32: return static_cast<int32_t>(static_cast<uint32_t>(raw));
    case StateField::kFloat32: return floatFromBits(static_cast<uint32_t>(raw));
    case StateField::kFloat64: return doubleFromBits(raw);
    case StateField::kUint32: return static_cast<uint32_t>(raw);
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

// A control value (as the float the DSP object reports) in its field's representation. Integer
// fields hold the value truncated toward zero; values an integer cannot hold are clamped first.
uint64_t encodeField(StateField field, double value)
{
    const float f = static_cast<float>(value);
    const double finite = std::isfinite(value) ? static_cast<double>(f) : 0.0;
    switch (field)
    {
    case StateField::kInt32:
    {
        const double c = std::fmax(-2147483648.0, std::fmin(2147483647.0, finite));
        return static_cast<uint32_t>(static_cast<int32_t>(c));
    }
    case StateField::kUint32:
    {
        const double c = std::fmax(-9.2e18, std::fmin(9.2e18, finite));
        return static_cast<uint32_t>(static_cast<int64_t>(c));
    }
    case StateField::kFloat32:
    {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    }
    case StateField::kFloat64:
    {
        const double d = static_cast<double>(f);
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        return bits;
    }
    default: return 0;
    }
}

void storeFloat(std::vector<uint8_t>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    storeLE(out, bits, 4);
}
} // namespace

CStateLayout CStateLayout::fromPlugIn(const CPlugIn& plugIn)
{
    CStateLayout layout;
    const uint32_t count = plugIn.m_ControlList.controlCount();
    layout.m_Fields.reserve(count);
    for (uint32_t k = 0; k < count; ++k)
    {
        const CControlEntry* entry = plugIn.m_ControlList.controlAt(k);
        layout.m_Fields.push_back(entry ? fieldFor(entry->nDataType) : StateField::kNone);
    }
    return layout;
}

size_t CStateLayout::byteSize(bool withJoystick) const
{
    size_t size = 8 + 2 + (withJoystick ? 8 : 0);
    for (StateField field : m_Fields)
        size += widthOf(field);
    return size;
}

bool CStateLayout::read(IBStream* stream, StateValues& out) const
{
    if (!stream)
        return false;
    // Collect every byte first, so that nothing is applied from a stream that turns out short.
    std::vector<uint8_t> bytes(byteSize(true));
    size_t have = 0;
    while (have < bytes.size())
    {
        int32 got = 0;
        const int32 want = static_cast<int32>(bytes.size() - have);
        if (stream->read(bytes.data() + have, want, &got) != kResultOk || got <= 0 || got > want)
            break;
        have += static_cast<size_t>(got);
    }
    return decode(bytes.data(), have, out);
}

bool CStateLayout::decode(const uint8_t* bytes, size_t have, StateValues& out) const
{
    if (!bytes || have < 8)
        return false;
    // Version 0 ends after the bypass; every later version carries the joystick, and whatever a
    // newer writer appends after it is left unread, so its projects still open here.
    const bool withJoystick = loadLE(bytes, 8) != 0;
    if (have < byteSize(withJoystick))
        return false;
    size_t at = 8;
    out.controls.assign(m_Fields.size(), std::numeric_limits<double>::quiet_NaN());
    for (size_t k = 0; k < m_Fields.size(); ++k)
    {
        const size_t width = widthOf(m_Fields[k]);
        if (width == 0)
            continue;
        out.controls[k] = decodeField(m_Fields[k], loadLE(bytes + at, width));
        at += width;
    }
    out.bypass = static_cast<int16_t>(loadLE(bytes + at, 2)) != 0;
    at += 2;
    out.hasJoystick = withJoystick;
    if (withJoystick)
    {
        out.joystickX = floatFromBits(static_cast<uint32_t>(loadLE(bytes + at, 4)));
        out.joystickY = floatFromBits(static_cast<uint32_t>(loadLE(bytes + at + 4, 4)));
    }
    return true;
}

std::vector<uint8_t> CStateLayout::encode(const StateValues& values) const
{
    std::vector<uint8_t> bytes;
    if (values.controls.size() != m_Fields.size())
        return bytes;
    bytes.reserve(byteSize(true));
    storeLE(bytes, kVersion, 8);
    for (size_t k = 0; k < m_Fields.size(); ++k)
        storeLE(bytes, encodeField(m_Fields[k], values.controls[k]), widthOf(m_Fields[k]));
    storeLE(bytes, values.bypass ? 1u : 0u, 2);
    storeFloat(bytes, values.joystickX);
    storeFloat(bytes, values.joystickY);
    return bytes;
}

bool CStateLayout::write(IBStream* stream, const StateValues& values) const
{
    if (!stream)
        return false;
    std::vector<uint8_t> bytes = encode(values);
    if (bytes.empty())
        return false;
    int32 written = 0;
    const auto size = static_cast<int32>(bytes.size());
    return stream->write(bytes.data(), size, &written) == kResultOk && written == size;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
