// Fast single-precision approximations of log2 and 2^x for the volt/octave curve.
// Both run on the host's main thread and on the audio thread (parameter mapping); neither
// allocates nor branches on anything but the sign/clamp of its argument.
#pragma once

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// log2 of a positive float from its IEEE-754 bit pattern plus a rational mantissa correction.
float approxLog2(float x);
// 2^x for a float, built directly as a bit pattern; arguments below -126 are clamped.
float approxPow2(float x);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
