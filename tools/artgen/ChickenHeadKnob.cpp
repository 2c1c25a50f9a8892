// A bakelite chicken-head knob seen from above, lit from the top left: a round fluted skirt, a
// tapered pointer head with an inlaid line, a soft shadow on the panel. The light and the
// shadow stay put while the knob turns; only the knob itself is rotated per frame.
#include "Artwork.h"

#include <cmath>

namespace artgen {

const KnobColours kBlackBakelite = {{0.075, 0.07, 0.068}, {0.42, 0.41, 0.40}, {0.96, 0.95, 0.90}};
const KnobColours kIvoryBakelite = {{0.80, 0.75, 0.63}, {1.0, 0.985, 0.93}, {0.62, 0.07, 0.05}};

namespace {

constexpr int kFrame = 42;
constexpr int kFrames = 80;
constexpr double kPi = 3.14159265358979323846;
constexpr double kCentre = kFrame / 2.0;
constexpr double kSkirtRadius = 12.0;
constexpr int kFlutes = 24;

// The head in knob coordinates (pointer along +x): a teardrop from a round back to a
// rounded nose, traced as the outer tangents of two circles.
void traceHead(cairo_t* cr)
{
    const double backX = -4.0, backR = 8.0, tipX = 15.0, tipR = 2.2;
    const double alpha = std::acos((backR - tipR) / (tipX - backX));
    cairo_new_sub_path(cr);
    cairo_arc(cr, backX, 0.0, backR, alpha, 2.0 * kPi - alpha);
    cairo_arc(cr, tipX, 0.0, tipR, -alpha, alpha);
    cairo_close_path(cr);
}

void traceSkirt(cairo_t* cr)
{
    // Shallow flutes around the edge catch the light and show the knob turning.
    for (int i = 0; i <= kFlutes * 4; ++i)
    {
        const double a = 2.0 * kPi * i / (kFlutes * 4);
        const double r = kSkirtRadius - 0.45 * (1.0 - std::cos(kFlutes * a)) * 0.5;
        if (i == 0)
            cairo_move_to(cr, r * std::cos(a), r * std::sin(a));
        else
            cairo_line_to(cr, r * std::cos(a), r * std::sin(a));
    }
    cairo_close_path(cr);
}

cairo_pattern_t* lightGradient(const KnobColours& c, double radius, double lift)
{
    // Screen-space light from the top left: highlight there, body colour beyond the middle.
    cairo_pattern_t* p = cairo_pattern_create_linear(-radius, -radius, radius, radius);
    auto mix = [&](double t, double off) {
        cairo_pattern_add_color_stop_rgb(p, off, c.body[0] + (c.highlight[0] - c.body[0]) * t,
                                         c.body[1] + (c.highlight[1] - c.body[1]) * t,
                                         c.body[2] + (c.highlight[2] - c.body[2]) * t);
    };
    mix(0.55 + lift, 0.0);
    mix(0.18 + lift, 0.45);
    mix(0.0, 0.75);
    mix(0.0, 1.0);
    return p;
}

void drawFrame(const ArtCanvas& canvas, const KnobColours& c, double angle, int top)
{
    cairo_t* cr = canvas.cr();
    const double cy = top + kCentre;
    const Region frame{0, top, kFrame, kFrame};
    auto rotated = [&](void (*trace)(cairo_t*)) {
        return [=](cairo_t* m) {
            cairo_save(m);
            cairo_translate(m, kCentre, cy);
            cairo_rotate(m, angle);
            trace(m);
            cairo_restore(m);
        };
    };

    // Shadow of the whole knob on the panel, then the skirt.
    drawSoftShadow(
        canvas, frame,
        [&](cairo_t* m) {
            rotated(traceSkirt)(m);
            rotated(traceHead)(m);
        },
        1.3, 2.2, 2.4, 0.6);

    cairo_save(cr);
    cairo_translate(cr, kCentre, cy);
    cairo_pattern_t* skirt = lightGradient(c, kSkirtRadius, -0.1);
    cairo_set_source(cr, skirt);
    cairo_save(cr);
    cairo_rotate(cr, angle);
    traceSkirt(cr);
    cairo_restore(cr);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(skirt);
    // A darker rim gives the skirt its thickness.
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);

    // The head casts a small shadow onto the skirt.
    drawSoftShadow(canvas, frame, rotated(traceHead), 0.7, 1.2, 1.2, 0.55);

    cairo_save(cr);
    cairo_translate(cr, kCentre, cy);
    cairo_pattern_t* head = lightGradient(c, 14.0, 0.12);
    cairo_set_source(cr, head);
    cairo_save(cr);
    cairo_rotate(cr, angle);
    traceHead(cr);
    cairo_restore(cr);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(head);
    // Bevel: light on the edges that face the light, dark on the others.
    cairo_pattern_t* bevel = cairo_pattern_create_linear(-10, -10, 10, 10);
    cairo_pattern_add_color_stop_rgba(bevel, 0.0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(bevel, 0.5, 1, 1, 1, 0.08);
    cairo_pattern_add_color_stop_rgba(bevel, 1.0, 0, 0, 0, 0.6);
    cairo_set_source(cr, bevel);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_pattern_destroy(bevel);

    // Inlaid pointer line along the nose.
    cairo_save(cr);
    cairo_rotate(cr, angle);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_source_rgb(cr, c.pointer[0], c.pointer[1], c.pointer[2]);
    cairo_set_line_width(cr, 1.9);
    cairo_move_to(cr, 3.0, 0.0);
    cairo_line_to(cr, 14.6, 0.0);
    cairo_stroke(cr);
    cairo_restore(cr);

    // Specular glint near the top left of the dome, fixed to the light.
    cairo_pattern_t* glint = cairo_pattern_create_radial(-4.5, -5.0, 0.0, -4.5, -5.0, 6.0);
    cairo_pattern_add_color_stop_rgba(glint, 0.0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(glint, 1.0, 1, 1, 1, 0.0);
    cairo_set_source(cr, glint);
    cairo_save(cr);
    cairo_rotate(cr, angle);
    traceHead(cr);
    cairo_restore(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(glint);
    cairo_restore(cr);
}

} // namespace

std::unique_ptr<ArtCanvas> drawChickenHeadStrip(const KnobColours& colours, int scale)
{
    auto canvas = std::make_unique<ArtCanvas>(kFrame, kFrame * kFrames, scale);
    for (int i = 0; i < kFrames; ++i)
    {
        const double degrees = 135.0 + 270.0 * i / (kFrames - 1);
        drawFrame(*canvas, colours, degrees * kPi / 180.0, i * kFrame);
    }
    return canvas;
}

} // namespace artgen
