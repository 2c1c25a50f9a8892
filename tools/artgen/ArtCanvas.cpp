#include "ArtCanvas.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace artgen {

ArtCanvas::ArtCanvas(int widthPoints, int heightPoints, int scale)
    : m_width(widthPoints)
    , m_height(heightPoints)
    , m_scale(scale)
    , m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPoints * scale, heightPoints * scale))
    , m_cr(cairo_create(m_surface))
{
    cairo_scale(m_cr, scale, scale);
}

ArtCanvas::~ArtCanvas()
{
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

bool ArtCanvas::writePng(const std::string& path) const
{
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

namespace {

// One running-sum box pass over `count` samples spaced `stride` apart; edges clamp.
void boxPass(uint8_t* data, int count, int stride, int radius, std::vector<int>& line)
{
    line.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        line[static_cast<size_t>(i)] = data[i * stride];
    const int window = 2 * radius + 1;
    auto at = [&](int i) { return line[static_cast<size_t>(std::clamp(i, 0, count - 1))]; };
    int sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += at(i);
    for (int i = 0; i < count; ++i)
    {
        data[i * stride] = static_cast<uint8_t>((sum + window / 2) / window);
        sum += at(i + radius + 1) - at(i - radius);
    }
}

} // namespace

void blurAlpha(cairo_surface_t* a8, int radiusPixels)
{
    if (radiusPixels < 1)
        return;
    cairo_surface_flush(a8);
    uint8_t* data = cairo_image_surface_get_data(a8);
    const int width = cairo_image_surface_get_width(a8);
    const int height = cairo_image_surface_get_height(a8);
    const int stride = cairo_image_surface_get_stride(a8);
    // Three passes of a third of the radius each approximate one Gaussian of that radius.
    const int box = std::max(1, radiusPixels / 2);
    std::vector<int> line;
    for (int pass = 0; pass < 3; ++pass)
    {
        for (int y = 0; y < height; ++y)
            boxPass(data + y * stride, width, 1, box, line);
        for (int x = 0; x < width; ++x)
            boxPass(data + x, height, stride, box, line);
    }
    cairo_surface_mark_dirty(a8);
}

void drawSoftShadow(const ArtCanvas& canvas, const Region& region,
                    const std::function<void(cairo_t*)>& tracePath, double dx, double dy, double blurPoints,
                    double opacity)
{
    const int s = canvas.scale();
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, region.width * s, region.height * s);
    cairo_t* m = cairo_create(mask);
    cairo_scale(m, s, s);
    cairo_translate(m, dx - region.left, dy - region.top);
    tracePath(m);
    cairo_set_source_rgba(m, 0, 0, 0, 1);
    cairo_fill(m);
    cairo_destroy(m);
    blurAlpha(mask, static_cast<int>(blurPoints * canvas.scale() + 0.5));

    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, opacity);
    cairo_rectangle(cr, region.left * s, region.top * s, region.width * s, region.height * s);
    cairo_clip(cr);
    cairo_mask_surface(cr, mask, region.left * s, region.top * s);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
}

} // namespace artgen
