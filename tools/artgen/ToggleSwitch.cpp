// A chrome bat-handle toggle switch seen from above, lit from the top left: a hex nut on the
// panel, the round bushing, and the lever leaning up (frame 0) or down (frame 1).
#include "Artwork.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kFrame = 42;
constexpr double kPi = 3.14159265358979323846;
constexpr double kCentre = kFrame / 2.0;
constexpr double kNutRadius = 10.0;
constexpr double kBushingRadius = 5.6;
constexpr double kLeverLength = 15.5; // centre of the ball from the pivot

void traceNut(cairo_t* cr)
{
    for (int i = 0; i < 6; ++i)
    {
        const double a = kPi / 6.0 + i * kPi / 3.0;
        if (i == 0)
            cairo_move_to(cr, kNutRadius * std::cos(a), kNutRadius * std::sin(a));
        else
            cairo_line_to(cr, kNutRadius * std::cos(a), kNutRadius * std::sin(a));
    }
    cairo_close_path(cr);
}

// The lever towards -y (up); `dir` -1 for up, +1 for down flips it about the pivot.
void traceLever(cairo_t* cr, double dir)
{
    const double ballR = 3.6, baseHalf = 2.0;
    const double tip = dir * kLeverLength;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -baseHalf, 0.0);
    cairo_line_to(cr, -ballR * 0.72, tip - dir * ballR * 0.4);
    cairo_line_to(cr, ballR * 0.72, tip - dir * ballR * 0.4);
    cairo_line_to(cr, baseHalf, 0.0);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.0, tip, ballR, 0.0, 2.0 * kPi);
}

void addChromeStops(cairo_pattern_t* p, double lift)
{
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.97, 0.97, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.62 + lift, 0.63 + lift, 0.66 + lift);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.86, 0.87, 0.89);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.28, 0.29, 0.31);
}

void drawFrame(const ArtCanvas& canvas, int index)
{
    cairo_t* cr = canvas.cr();
    const int top = index * kFrame;
    const Region frame{0, top, kFrame, kFrame};
    const double cy = top + kCentre;
    const double dir = index == 0 ? -1.0 : 1.0;

    drawSoftShadow(
        canvas, frame,
        [&](cairo_t* m) {
            cairo_save(m);
            cairo_translate(m, kCentre, cy);
            traceNut(m);
            cairo_restore(m);
        },
        1.2, 2.0, 2.0, 0.55);

    cairo_save(cr);
    cairo_translate(cr, kCentre, cy);
    // Hex nut: flat chrome, brighter towards the light, with a crisp edge.
    cairo_pattern_t* nut = cairo_pattern_create_linear(-kNutRadius, -kNutRadius, kNutRadius, kNutRadius);
    addChromeStops(nut, 0.0);
    traceNut(cr);
    cairo_set_source(cr, nut);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(nut);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.12, 0.7);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);

    // Bushing: a domed ring around the dark opening the lever comes out of.
    cairo_pattern_t* bushing = cairo_pattern_create_radial(-1.8, -1.8, 0.5, 0, 0, kBushingRadius);
    cairo_pattern_add_color_stop_rgb(bushing, 0.0, 0.98, 0.98, 1.0);
    cairo_pattern_add_color_stop_rgb(bushing, 0.6, 0.66, 0.67, 0.70);
    cairo_pattern_add_color_stop_rgb(bushing, 1.0, 0.30, 0.30, 0.33);
    cairo_arc(cr, 0, 0, kBushingRadius, 0, 2 * kPi);
    cairo_set_source(cr, bushing);
    cairo_fill(cr);
    cairo_pattern_destroy(bushing);
    cairo_arc(cr, 0, 0, 2.6, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.07, 0.07, 0.08);
    cairo_fill(cr);
    cairo_restore(cr);

    // The lever throws a longer shadow in the direction it leans.
    drawSoftShadow(
        canvas, frame,
        [&](cairo_t* m) {
            cairo_save(m);
            cairo_translate(m, kCentre, cy);
            traceLever(m, dir);
            cairo_restore(m);
        },
        1.8, 2.6, 1.6, 0.6);

    cairo_save(cr);
    cairo_translate(cr, kCentre, cy);
    // Cylindrical shading across the lever, light from the left.
    cairo_pattern_t* lever = cairo_pattern_create_linear(-3.6, 0, 3.6, 0);
    addChromeStops(lever, 0.05);
    traceLever(cr, dir);
    cairo_set_source(cr, lever);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(lever);
    cairo_set_source_rgba(cr, 0.12, 0.12, 0.14, 0.65);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
    // The ball end: a spherical highlight towards the light.
    const double tip = dir * kLeverLength;
    cairo_pattern_t* ball = cairo_pattern_create_radial(-1.2, tip - 1.3, 0.2, 0, tip, 3.6);
    cairo_pattern_add_color_stop_rgba(ball, 0.0, 1, 1, 1, 0.95);
    cairo_pattern_add_color_stop_rgba(ball, 0.5, 0.8, 0.8, 0.83, 0.3);
    cairo_pattern_add_color_stop_rgba(ball, 1.0, 0.2, 0.2, 0.22, 0.35);
    cairo_arc(cr, 0, tip, 3.6, 0, 2 * kPi);
    cairo_set_source(cr, ball);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
    cairo_restore(cr);
}

} // namespace

std::unique_ptr<ArtCanvas> drawToggleSwitchStrip(int scale)
{
    auto canvas = std::make_unique<ArtCanvas>(kFrame, 2 * kFrame, scale);
    drawFrame(*canvas, 0);
    drawFrame(*canvas, 1);
    return canvas;
}

} // namespace artgen
