// The volt/octave curve: equal steps of the host value give equal ratios of the plain value,
// plain = min * (max / min)^v. Computed in single precision through the fast log2/pow2
// approximations; the parameter class (texts) and the value mapping (processing, presets) both
// use these two functions, so they agree bit for bit.
#pragma once

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Host value v of a plain value in min .. max (min > 0).
float voltOctaveNormalized(float plain, float min, float max);
// Linear position u = (plain - min) / (max - min) of the plain value at host value v.
float voltOctavePosition(double normalized, float min, float max);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
