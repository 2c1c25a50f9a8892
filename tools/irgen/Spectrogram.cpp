#include "Spectrogram.h"

#include "RealFft.h"
#include "Room.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace irgen {
using TessalineFft::RealFft;

namespace {
constexpr int kFrame = 1024;
constexpr double kRangeDb = 90.0;

// Black through blue, red and yellow to white as the level rises.
void colour(double level, unsigned char* pixel)
{
    const double v = std::clamp(level, 0.0, 1.0);
    const double r = std::clamp(3.0 * v - 1.0, 0.0, 1.0);
    const double g = std::clamp(3.0 * v - 2.0, 0.0, 1.0);
    const double b = v < 1.0 / 3.0 ? 3.0 * v : std::clamp(2.0 - 3.0 * v, 0.0, 1.0) + g;
    pixel[0] = static_cast<unsigned char>(255.0 * std::min(b, 1.0)); // cairo RGB24: B G R x
    pixel[1] = static_cast<unsigned char>(255.0 * g);
    pixel[2] = static_cast<unsigned char>(255.0 * r);
}
} // namespace

void drawSpectrogram(cairo_t* cr, const double* t, double seconds, int x, int y, int width, int height)
{
    RealFft fft(kFrame);
    const int span = std::min(kResponseLength, static_cast<int>(seconds * kSampleRate));
    std::vector<double> db(static_cast<size_t>(width) * static_cast<size_t>(height), -400.0);
    double loudest = -400.0;
    for (int column = 0; column < width; ++column)
    {
        const int start = column * span / width - kFrame / 2;
        for (int n = 0; n < kFrame; ++n)
        {
            const int i = start + n;
            const double w = 0.5 - 0.5 * std::cos(2.0 * kPi * n / kFrame);
            fft.time()[n] = (i >= 0 && i < kResponseLength) ? w * t[i] : 0.0;
        }
        fft.forward();
        for (int row = 0; row < height; ++row)
        {
            const int bin = (height - 1 - row) * (fft.bins() - 1) / (height - 1);
            const double level = 10.0 * std::log10(std::norm(fft.spectrum()[bin]) + 1e-30);
            db[static_cast<size_t>(row * width + column)] = level;
            loudest = std::max(loudest, level);
        }
    }
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
        {
            const double level = db[static_cast<size_t>(row * width + column)];
            colour(1.0 + (level - loudest) / kRangeDb, data + row * stride + 4 * column);
        }
    cairo_surface_mark_dirty(image);
    cairo_set_source_surface(cr, image, x, y);
    cairo_paint(cr);
    cairo_surface_destroy(image);
}

} // namespace irgen
