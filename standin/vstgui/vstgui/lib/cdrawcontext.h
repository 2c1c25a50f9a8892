// Drawing on a cairo context. Coordinates are points; the context's scale factor maps them to
// device pixels (2 on a 2x display). A transform stack offsets children inside containers.
#pragma once

#include "ccolor.h"
#include "cfont.h"
#include "crect.h"
#include "vstguibase.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace VSTGUI {

enum CLineStyleKind
{
    kLineSolid = 0,
    kLineOnOffDash
};

class CDrawContext : public CBaseObject
{
public:
    enum PathDrawMode
    {
        kPathFilled,
        kPathFilledEvenOdd,
        kPathStroked
    };

    // Draws on cr, whose user space is device pixels; 'surfaceSize' is in points.
    CDrawContext(cairo_t* cr, const CPoint& surfaceSize, double scaleFactor = 1.);
    ~CDrawContext() override;

    double getScaleFactor() const { return scaleFactor; }
    cairo_t* getCairo() const { return cr; }
    CRect getSurfaceRect() const { return CRect(CPoint(), surfaceSize); }

    // State
    void setLineWidth(CCoord width);
    CCoord getLineWidth() const { return state.lineWidth; }
    void setLineStyle(CLineStyleKind style);
    void setDrawMode(int32_t mode);
    int32_t getDrawMode() const { return state.drawMode; }
    void setFillColor(const CColor& color);
    const CColor& getFillColor() const { return state.fillColor; }
    void setFrameColor(const CColor& color);
    const CColor& getFrameColor() const { return state.frameColor; }
    void setFontColor(const CColor& color);
    const CColor& getFontColor() const { return state.fontColor; }
    void setFont(const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
    CFontRef getFont() const { return state.font; }
    void setGlobalAlpha(float alpha);
    float getGlobalAlpha() const { return state.globalAlpha; }
    // Clip rectangles are in the current (transformed) coordinates.
    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;
    void resetClipRect();
    void saveGlobalState();
    void restoreGlobalState();

    // Offsets everything drawn until the matching pop (containers translate their children).
    void pushTransform(const CPoint& offset);
    void popTransform();
    CPoint getOffset() const { return state.offset; }

    // Shapes
    void drawLine(const CPoint& start, const CPoint& end);
    void drawLines(const std::vector<std::pair<CPoint, CPoint>>& lines);
    void drawPolygon(const std::vector<CPoint>& points, CDrawStyle style = kDrawStroked);
    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void drawRoundRect(const CRect& rect, CCoord radius, CDrawStyle style = kDrawStroked);
    void drawEllipse(const CRect& rect, CDrawStyle style = kDrawStroked);
    void drawArc(const CRect& rect, float startAngle, float endAngle, CDrawStyle style = kDrawStroked);
    void drawPoint(const CPoint& point, const CColor& color);
    void clearRect(const CRect& rect);
    CGraphicsPath* createGraphicsPath();
    void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled);

    // Text in the current font and font colour, vertically centred in rect.
    void drawString(UTF8StringPtr string, const CRect& rect, CHoriTxtAlign align = kCenterText,
                    bool antialias = true);
    // Text with its baseline starting at point.
    void drawString(UTF8StringPtr string, const CPoint& point, bool antialias = true);
    CCoord getStringWidth(UTF8StringPtr string);

    // Bitmaps
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.f);
    // Paints a device-pixel surface (an offscreen cache made at this scale) at dest's top left.
    void drawSurface(void* cairoSurface, const CRect& dest, float alpha = 1.f);

private:
    struct State
    {
        CCoord lineWidth{1};
        CLineStyleKind lineStyle{kLineSolid};
        int32_t drawMode{kAntiAliasing};
        CColor fillColor{kWhiteCColor};
        CColor frameColor{kBlackCColor};
        CColor fontColor{kBlackCColor};
        SharedPointer<CFontDesc> font;
        float globalAlpha{1.f};
        CPoint offset;
        CRect clip;
    };
    void applyColor(const CColor& color);
    void applyLineState();
    void pathRect(const CRect& rect);
    void fillStroke(CDrawStyle style);

    cairo_t* cr;
    CPoint surfaceSize;
    double scaleFactor;
    State state;
    std::vector<State> stack;
    std::vector<CPoint> transforms;
};

// A draw context with its own image surface, for offscreen caches, tests and pictures.
class COffscreenContext : public CDrawContext
{
public:
    static SharedPointer<COffscreenContext> create(const CPoint& size, double scaleFactor = 1.);
    ~COffscreenContext() override;

    void* getSurface() const { return surface; }
    // The pixel at device coordinates as straight (not premultiplied) colour.
    CColor getPixel(int32_t x, int32_t y) const;
    int32_t getPixelWidth() const;
    int32_t getPixelHeight() const;
    bool writePNG(const std::string& path) const;

private:
    COffscreenContext(void* surface, cairo_t* cr, const CPoint& size, double scaleFactor);
    void* surface;
};

} // namespace VSTGUI
