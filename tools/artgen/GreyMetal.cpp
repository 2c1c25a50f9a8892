// Brushed steel: per-pixel noise smeared along the rows (the brushing), a little per-row
// variation (the strokes of the brush), broad vertical sheen bands where the light catches.
#include "Artwork.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace artgen {

namespace {

constexpr int kSize = 512;

// Wrap-around moving average along one row, so streaks have no seam at the edges.
void smearRow(std::vector<double>& row, int length)
{
    const int n = static_cast<int>(row.size());
    std::vector<double> out(row.size());
    double sum = 0.0;
    for (int i = -length / 2; i <= length / 2; ++i)
        sum += row[static_cast<size_t>((i + n) % n)];
    for (int x = 0; x < n; ++x)
    {
        out[static_cast<size_t>(x)] = sum / (length + 1);
        sum += row[static_cast<size_t>((x + length / 2 + 1) % n)];
        sum -= row[static_cast<size_t>((x - length / 2 + n) % n)];
    }
    row.swap(out);
}

double sheen(double u)
{
    // u is the horizontal position 0..1.
    const double a = (u - 0.28) / 0.22;
    const double b = (u - 0.78) / 0.12;
    return 0.07 * std::exp(-a * a) + 0.035 * std::exp(-b * b) - 0.03;
}

} // namespace

std::unique_ptr<ArtCanvas> drawGreyMetal(int scale)
{
    auto canvas = std::make_unique<ArtCanvas>(kSize, kSize, scale);
    cairo_surface_t* surface = canvas->surface();
    cairo_surface_flush(surface);
    const int n = kSize * scale;
    const int stride = cairo_image_surface_get_stride(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);

    std::mt19937 rng(0x7e55a11e); // fixed: the same texture in every build
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    constexpr double kAlpha = 0.94;
    std::vector<double> row(static_cast<size_t>(n));
    double stroke = 0.0;
    for (int y = 0; y < n; ++y)
    {
        for (double& v : row)
            v = uniform(rng);
        std::vector<double> grain = row;
        smearRow(row, 40 * scale);
        smearRow(row, 40 * scale);
        // Neighbouring rows share part of their brightness: strokes a few pixels wide.
        stroke = 0.8 * stroke + 0.2 * uniform(rng);
        for (int x = 0; x < n; ++x)
        {
            const double u = static_cast<double>(x) / n;
            double v = 0.66 + 0.55 * row[static_cast<size_t>(x)] + 0.05 * stroke + sheen(u)
                       + 0.012 * grain[static_cast<size_t>(x)];
            v = std::fmin(1.0, std::fmax(0.0, v));
            const double r = v * 0.985, g = v * 0.995, b = std::fmin(1.0, v * 1.02);
            uint32_t* px = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            auto channel = [&](double c) { return static_cast<uint32_t>(std::lround(c * kAlpha * 255.0)); };
            *px = (static_cast<uint32_t>(std::lround(kAlpha * 255.0)) << 24) | (channel(r) << 16)
                  | (channel(g) << 8) | channel(b);
        }
    }
    cairo_surface_mark_dirty(surface);
    return canvas;
}

} // namespace artgen
