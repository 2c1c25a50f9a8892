// Mapping between a host parameter's normalized value and the linear control position the
// DSP object takes. Logarithmic and volt/octave controls warp the host value; all others pass.
#pragma once

#include "core/CControlEntry.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Normalized host value -> linear position u for setControlNormalized.
float parameterToPosition(const CControlEntry& control, double normalized);
// Plain value -> normalized host value (used when a preset is applied).
double positionToParameter(const CControlEntry& control, double plain);
// The plain value a control ends up with when set to `plain` (clamped into its range, integer and
// list controls as the set operations store them), or NaN when the value must be ignored.
float settledPlainValue(const CControlEntry& control, double plain);
// The plain value setControlNormalized(position) stores, in the form setControlPlain takes it
// (integer and list controls rounded), or NaN when the value must be ignored.
float plainOfPosition(const CControlEntry& control, float position);
// Volt/octave branch of parameterToPosition: u such that plain = min * (max/min)^v.
float mapVoltOctave(const CControlEntry& control, double normalized);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
