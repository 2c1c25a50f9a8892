// One host parameter as every plug-in format sees it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Id, title, units, range and curve, list entries, display precision and what the host may do
// with it.
struct ParameterDescription
{
    enum class Curve
    {
        kLinear,     // plain = min + (max - min) * normalized
        kLog,        // 2.4 decades up to the maximum
        kVoltOctave, // plain = min * (max/min)^normalized
        kList,       // one of `entries`, normalized = index / (entries - 1)
        kPeak,       // a read-only meter: normalized is the peak, shown in decibels
    };

    uint32_t id = 0;
    std::string title; // UTF-8
    std::string units; // UTF-8; empty: none
    Curve curve = Curve::kLinear;
    double min = 0.0;
    double max = 1.0;
    double defaultPlain = 0.0;
    int32_t precision = -1; // decimals shown; -1: the format's default
    int32_t steps = 0;      // whole values less one for an integer control; 0: continuous
    std::vector<std::string> entries;
    bool automatable = false;
    bool readOnly = false;
    bool bypass = false;
    bool programChange = false;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
