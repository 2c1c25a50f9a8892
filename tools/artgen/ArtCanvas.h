// Cairo helpers the panel artwork shares: surfaces drawn in point units at 1x or 2x, a
// Gaussian-like blur for soft shadows, and PNG output.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

namespace artgen {

// An ARGB surface of width x height points with `scale` device pixels per point; the context
// is already scaled, so drawing code works in points whatever the resolution.
class ArtCanvas
{
public:
    ArtCanvas(int widthPoints, int heightPoints, int scale);
    ~ArtCanvas();
    ArtCanvas(const ArtCanvas&) = delete;
    ArtCanvas& operator=(const ArtCanvas&) = delete;

    cairo_t* cr() const { return m_cr; }
    int scale() const { return m_scale; }
    int pixelWidth() const { return m_width * m_scale; }
    int pixelHeight() const { return m_height * m_scale; }
    cairo_surface_t* surface() const { return m_surface; }

    // Writes the surface as PNG; false when cairo could not write the file.
    bool writePng(const std::string& path) const;

private:
    int m_width;
    int m_height;
    int m_scale;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// A rectangle of the canvas in points.
struct Region
{
    int left, top, width, height;
};

// Fills the shape traced by `tracePath` (in the canvas's point units) as a blurred shadow:
// offset by (dx, dy) points, blurred with a radius of `blurPoints`, black at `opacity`,
// confined to `region` (one frame of a strip).
void drawSoftShadow(const ArtCanvas& canvas, const Region& region,
                    const std::function<void(cairo_t*)>& tracePath, double dx, double dy, double blurPoints,
                    double opacity);

// Three box passes in each direction over an A8 surface: close to a Gaussian of the radius.
void blurAlpha(cairo_surface_t* a8, int radiusPixels);

} // namespace artgen
