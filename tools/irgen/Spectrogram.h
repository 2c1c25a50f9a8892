// A spectrogram of one table drawn into a cairo context, so the tone can be seen: a shelf
// between bands shows as a horizontal edge, the air's damping as the top fading first.
#pragma once

#include <cairo.h>

namespace irgen {
// Draws table t (kResponseLength samples at kSampleRate) as time 0 .. `seconds` across `width`
// pixels and frequency 0 .. Nyquist (linear) up `height` pixels at (x, y); levels span
// 0 .. -90 dB below the table's loudest cell.
void drawSpectrogram(cairo_t* cr, const double* t, double seconds, int x, int y, int width, int height);

} // namespace irgen
