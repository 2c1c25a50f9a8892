// Images loaded from PNG files through cairo. A file "name.png" with a sibling "name@2x.png"
// gets both; drawing picks the one that fits the device scale. Bitmaps whose file is missing
// exist without an image and draw nothing.
#pragma once

#include "crect.h"
#include "vstguibase.h"

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

// Resource names: relative names are looked up in the resource directory (the module's
// Contents/Resources folder unless set otherwise); absolute paths are used as they are.
class CResourceDescription
{
public:
    CResourceDescription() = default;
    CResourceDescription(UTF8StringPtr name)
        : u(name ? name : "")
    {}
    CResourceDescription(const std::string& name)
        : u(name)
    {}
    const std::string& getName() const { return u; }

private:
    std::string u;
};

void setResourceDirectory(const std::string& directory);
const std::string& getResourceDirectory();
// The full path of a resource name (see CResourceDescription).
std::string resolveResourcePath(const std::string& name);

// Insets of a nine-part tiled bitmap: corners drawn as they are, edges and centre tiled.
struct CNinePartTiledDescription
{
    CNinePartTiledDescription() = default;
    CNinePartTiledDescription(CCoord l, CCoord t, CCoord r, CCoord b)
        : left(l)
        , top(t)
        , right(r)
        , bottom(b)
    {}
    CCoord left{0};
    CCoord top{0};
    CCoord right{0};
    CCoord bottom{0};
};

class CBitmap : public CBaseObject
{
public:
    explicit CBitmap(const CResourceDescription& desc);
    CBitmap(CCoord width, CCoord height);
    ~CBitmap() override;

    const CResourceDescription& getResourceDescription() const { return resourceDesc; }
    // Size in points (the 1x image's pixels).
    CCoord getWidth() const { return size.x; }
    CCoord getHeight() const { return size.y; }
    CPoint getSize() const { return size; }
    bool isLoaded() const { return surface != nullptr; }

    // Draws the part of the image at offset into dest, with the given opacity.
    virtual void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                      float alpha = 1.f);

    // Surfaces of the image: the 1x one, and the 2x one when the file has one.
    cairo_surface_t* getSurface() const { return surface; }
    cairo_surface_t* getSurface2x() const { return surface2x; }
    // The surface to draw at a device scale factor.
    cairo_surface_t* getSurfaceForScale(double scaleFactor) const;

protected:
    CResourceDescription resourceDesc;
    CPoint size;
    cairo_surface_t* surface{nullptr};
    cairo_surface_t* surface2x{nullptr};
};

class CNinePartTiledBitmap : public CBitmap
{
public:
    CNinePartTiledBitmap(const CResourceDescription& desc, const CNinePartTiledDescription& offsets);

    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
              float alpha = 1.f) override;

    const CNinePartTiledDescription& getPartOffsets() const { return offsets; }
    void setPartOffsets(const CNinePartTiledDescription& o) { offsets = o; }

private:
    CNinePartTiledDescription offsets;
};

} // namespace VSTGUI
