#include "cbitmap.h"

#include "cdrawcontext.h"

#include <cairo.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <cmath>

namespace VSTGUI {

namespace {
std::string& resourceDirectory()
{
    static std::string directory = [] {
        // Inside a bundle the module is Contents/<arch>-linux/Name.so; resources sit in
        // Contents/Resources beside it.
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&resolveResourcePath), &info) && info.dli_fname)
        {
            std::string path = info.dli_fname;
            auto slash = path.rfind('/');
            if (slash != std::string::npos)
                return path.substr(0, slash) + "/../Resources";
        }
        return std::string(".");
    }();
    return directory;
}

cairo_surface_t* loadPNG(const std::string& path)
{
    // Only a regular file is read: a description may name any path, and a pipe, a terminal or a
    // device would block the editor or feed it without end.
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}
} // namespace

void setResourceDirectory(const std::string& directory) { resourceDirectory() = directory; }

const std::string& getResourceDirectory() { return resourceDirectory(); }

std::string resolveResourcePath(const std::string& name)
{
    if (!name.empty() && name[0] == '/')
        return name;
    return resourceDirectory() + "/" + name;
}

CBitmap::CBitmap(const CResourceDescription& desc)
    : resourceDesc(desc)
{
    if (desc.getName().empty())
        return;
    const std::string path = resolveResourcePath(desc.getName());
    surface = loadPNG(path);
    if (!surface)
        return;
    size = CPoint(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    // The sharper sibling for 2x displays: "name@2x.png", exactly twice the size.
    auto dot = path.rfind(".png");
    if (dot != std::string::npos && dot + 4 == path.size())
    {
        surface2x = loadPNG(path.substr(0, dot) + "@2x.png");
        if (surface2x
            && (cairo_image_surface_get_width(surface2x) != 2 * cairo_image_surface_get_width(surface)
                || cairo_image_surface_get_height(surface2x) != 2 * cairo_image_surface_get_height(surface)))
        {
            cairo_surface_destroy(surface2x);
            surface2x = nullptr;
        }
        if (surface2x)
            cairo_surface_set_device_scale(surface2x, 2, 2);
    }
}

CBitmap::CBitmap(CCoord width, CCoord height)
    : size(width, height)
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(width)),
                                         static_cast<int>(std::ceil(height)));
}

CBitmap::~CBitmap()
{
    if (surface)
        cairo_surface_destroy(surface);
    if (surface2x)
        cairo_surface_destroy(surface2x);
}

cairo_surface_t* CBitmap::getSurfaceForScale(double scaleFactor) const
{
    return (scaleFactor > 1. && surface2x) ? surface2x : surface;
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha)
{
    context->drawBitmap(this, dest, offset, alpha);
}

CNinePartTiledBitmap::CNinePartTiledBitmap(const CResourceDescription& desc,
                                           const CNinePartTiledDescription& o)
    : CBitmap(desc)
    , offsets(o)
{}

namespace {
// Fills 'dest' (user space, points) with the part 'src' (points) of the image, tiled.
void tilePart(cairo_t* cr, cairo_surface_t* s, double k, const CRect& src, const CRect& dest, float alpha)
{
    if (src.isEmpty() || dest.isEmpty())
        return;
    cairo_surface_t* part = cairo_surface_create_for_rectangle(s, src.left * k, src.top * k,
                                                               src.getWidth() * k, src.getHeight() * k);
    cairo_surface_set_device_scale(part, k, k);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, -dest.left, -dest.top);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_save(cr);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
}
} // namespace

void CNinePartTiledBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint&, float alpha)
{
    cairo_surface_t* s = getSurfaceForScale(context->getScaleFactor());
    if (!s)
        return;
    const double k = cairo_image_surface_get_width(s) / getWidth();
    const CCoord w = getWidth(), h = getHeight();
    const CNinePartTiledDescription& o = offsets;
    const CCoord xs[4] = {0, o.left, w - o.right, w};
    const CCoord ys[4] = {0, o.top, h - o.bottom, h};
    const CCoord xd[4] = {dest.left, dest.left + o.left, dest.right - o.right, dest.right};
    const CCoord yd[4] = {dest.top, dest.top + o.top, dest.bottom - o.bottom, dest.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            tilePart(context->getCairo(), s, k, CRect(xs[col], ys[row], xs[col + 1], ys[row + 1]),
                     CRect(xd[col], yd[row], xd[col + 1], yd[row + 1]), alpha * context->getGlobalAlpha());
}

} // namespace VSTGUI
