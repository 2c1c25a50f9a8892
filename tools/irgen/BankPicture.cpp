#include "BankPicture.h"

#include "Analysis.h"
#include "Room.h"
#include "Spectrogram.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace irgen {
namespace {
constexpr int kCellWidth = 520;
constexpr int kCellHeight = 110;
constexpr int kPlotWidth = 240;
constexpr int kEarlySamples = 2048;
constexpr double kFloorDb = -100.0; // deep enough to show how every table ends
const char* const kPositionNames[kPositions] = {"Center", "L22", "L32", "L45", "L64", "L90",
                                                "R22",    "R32", "R45", "R64", "R90"};
const char* const kComponentNames[3] = {"CF", "LR", "FB"};
constexpr int kSpectrogramPosition = 3; // L45: every component carries much of the sound
constexpr int kSpectrogramWidth = 480;
constexpr int kSpectrogramHeight = 240;
constexpr double kSpectrogramSeconds = kResponseLength / kSampleRate; // to the last sample

void drawFrame(cairo_t* cr, double x, double y)
{
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_rectangle(cr, x, y, kPlotWidth, kCellHeight - 30);
    cairo_stroke(cr);
}

void drawEarly(cairo_t* cr, const double* t, double x, double y, double scale)
{
    const double h = kCellHeight - 30;
    drawFrame(cr, x, y);
    cairo_set_source_rgb(cr, 0.1, 0.3, 0.7);
    for (int i = 0; i < kEarlySamples; ++i)
    {
        const double px = x + i * kPlotWidth / static_cast<double>(kEarlySamples);
        const double py = y + h / 2 - t[i] / scale * (h / 2);
        i == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
    }
    cairo_stroke(cr);
}

void drawDecay(cairo_t* cr, const double* t, double x, double y)
{
    const double h = kCellHeight - 30;
    drawFrame(cr, x, y);
    const std::vector<double> edc = energyDecayDb(t, kResponseLength);
    cairo_set_source_rgb(cr, 0.7, 0.2, 0.1);
    for (int i = 0; i < kResponseLength; i += 64)
    {
        const double px = x + i * kPlotWidth / static_cast<double>(kResponseLength);
        const double py = y + std::min(1.0, edc[i] / kFloorDb) * h;
        i == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
    }
    cairo_stroke(cr);
}
} // namespace

bool writeBankPicture(const std::vector<double>& bank, const std::string& path)
{
    const int grid = kPositions * kCellHeight + 30;
    const int width = 3 * kCellWidth, height = grid + kSpectrogramHeight + 60;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_font_size(cr, 11.0);
    double maxAbs = 0.0;
    for (double v : bank)
        maxAbs = std::max(maxAbs, std::fabs(v));
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 10, 18);
    cairo_show_text(cr, "Room-response bank: first 2048 samples (full scale = bank maximum) and "
                        "energy decay curve (0 .. -100 dB over all 69632 samples)");
    for (int k = 0; k < kTables; ++k)
    {
        const int position = 10 - k / 3, component = k % 3;
        const double x = component * kCellWidth + 10, y = position * kCellHeight + 30;
        const double* t = bank.data() + static_cast<size_t>(k) * kResponseLength;
        char label[64];
        std::snprintf(label, sizeof label, "table %d: %s %s", k, kPositionNames[position],
                      kComponentNames[component]);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, x, y + 12);
        cairo_show_text(cr, label);
        drawEarly(cr, t, x, y + 18, maxAbs > 0.0 ? maxAbs : 1.0);
        drawDecay(cr, t, x + kPlotWidth + 10, y + 18);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 10, grid + 18);
    cairo_show_text(cr, "Spectrograms of L45, all 69632 samples (1.58 s) across, 0 .. 22.05 kHz linear up "
                        "(levels 0 .. -90 dB below each table's loudest cell)");
    for (int component = 0; component < 3; ++component)
    {
        const int k = 30 - 3 * kSpectrogramPosition + component;
        const double x = component * kCellWidth + 10, y = grid + 30;
        char label[64];
        std::snprintf(label, sizeof label, "table %d: %s %s", k, kPositionNames[kSpectrogramPosition],
                      kComponentNames[component]);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, x, y + 10);
        cairo_show_text(cr, label);
        drawSpectrogram(cr, bank.data() + static_cast<size_t>(k) * kResponseLength, kSpectrogramSeconds,
                        static_cast<int>(x), static_cast<int>(y) + 16, kSpectrogramWidth, kSpectrogramHeight);
    }
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

} // namespace irgen
