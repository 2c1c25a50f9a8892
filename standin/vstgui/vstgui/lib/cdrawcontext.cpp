#include "cdrawcontext.h"

#include "cbitmap.h"
#include "cgraphicspath.h"
#include "platform/cairo/textlayout.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstring>

namespace VSTGUI {

CDrawContext::CDrawContext(cairo_t* cr, const CPoint& surfaceSize, double scaleFactor)
    : cr(cairo_reference(cr))
    , surfaceSize(surfaceSize)
    , scaleFactor(scaleFactor)
{
    // User space in points from here on.
    cairo_save(cr);
    cairo_scale(cr, scaleFactor, scaleFactor);
    state.font = kNormalFont;
    state.clip = getSurfaceRect();
}

CDrawContext::~CDrawContext()
{
    while (!stack.empty())
        restoreGlobalState();
    while (!transforms.empty())
        popTransform();
    cairo_restore(cr);
    cairo_destroy(cr);
}

void CDrawContext::setLineWidth(CCoord width) { state.lineWidth = width; }

void CDrawContext::setLineStyle(CLineStyleKind style) { state.lineStyle = style; }

void CDrawContext::setDrawMode(int32_t mode) { state.drawMode = mode; }

void CDrawContext::setFillColor(const CColor& color) { state.fillColor = color; }

void CDrawContext::setFrameColor(const CColor& color) { state.frameColor = color; }

void CDrawContext::setFontColor(const CColor& color) { state.fontColor = color; }

void CDrawContext::setFont(const CFontRef font, const CCoord& size, const int32_t& style)
{
    if (!font)
        return;
    if (size <= 0 && style < 0)
    {
        state.font = font;
        return;
    }
    auto copy = makeOwned<CFontDesc>(*font);
    if (size > 0)
        copy->setSize(size);
    if (style >= 0)
        copy->setStyle(style);
    state.font = copy;
}

void CDrawContext::setGlobalAlpha(float alpha) { state.globalAlpha = alpha; }

void CDrawContext::setClipRect(const CRect& clip)
{
    CRect global = clip;
    global.offset(state.offset);
    global.bound(getSurfaceRect());
    state.clip = global;
    cairo_reset_clip(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.getWidth(), clip.getHeight());
    cairo_clip(cr);
}

CRect& CDrawContext::getClipRect(CRect& clip) const
{
    clip = state.clip;
    clip.offsetInverse(state.offset);
    return clip;
}

void CDrawContext::resetClipRect()
{
    state.clip = getSurfaceRect();
    cairo_reset_clip(cr);
}

void CDrawContext::saveGlobalState()
{
    stack.push_back(state);
    cairo_save(cr);
}

void CDrawContext::restoreGlobalState()
{
    if (stack.empty())
        return;
    state = stack.back();
    stack.pop_back();
    cairo_restore(cr);
}

void CDrawContext::pushTransform(const CPoint& offset)
{
    transforms.push_back(offset);
    saveGlobalState();
    state.offset += offset;
    cairo_translate(cr, offset.x, offset.y);
}

void CDrawContext::popTransform()
{
    if (transforms.empty())
        return;
    transforms.pop_back();
    restoreGlobalState();
}

void CDrawContext::applyColor(const CColor& c)
{
    cairo_set_source_rgba(cr, c.normRed(), c.normGreen(), c.normBlue(), c.normAlpha() * state.globalAlpha);
}

void CDrawContext::applyLineState()
{
    cairo_set_line_width(cr, state.lineWidth);
    cairo_set_antialias(cr, state.drawMode & kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    if (state.lineStyle == kLineOnOffDash)
    {
        const double dash = state.lineWidth;
        cairo_set_dash(cr, &dash, 1, 0);
    }
    else
        cairo_set_dash(cr, nullptr, 0, 0);
}

void CDrawContext::fillStroke(CDrawStyle style)
{
    applyLineState();
    if (style == kDrawFilled || style == kDrawFilledAndStroked)
    {
        applyColor(state.fillColor);
        if (style == kDrawFilledAndStroked)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked)
    {
        applyColor(state.frameColor);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

void CDrawContext::pathRect(const CRect& r)
{
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
}

// Lines of odd width on whole coordinates are moved half a point so they cover whole pixels.
static double lineAlign(double v, double width)
{
    return (static_cast<long>(std::lround(width)) % 2 == 1) ? std::floor(v) + 0.5 : v;
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end)
{
    cairo_move_to(cr, lineAlign(start.x, state.lineWidth), lineAlign(start.y, state.lineWidth));
    cairo_line_to(cr, lineAlign(end.x, state.lineWidth), lineAlign(end.y, state.lineWidth));
    fillStroke(kDrawStroked);
}

void CDrawContext::drawLines(const std::vector<std::pair<CPoint, CPoint>>& lines)
{
    for (const auto& l : lines)
        drawLine(l.first, l.second);
}

void CDrawContext::drawPolygon(const std::vector<CPoint>& points, CDrawStyle style)
{
    if (points.empty())
        return;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, points[i].x, points[i].y);
    fillStroke(style);
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style)
{
    if (style == kDrawStroked)
    {
        // The frame lies inside the rectangle, as a one-pixel frame should.
        CRect r(rect);
        const double h = state.lineWidth / 2.;
        r.inset(h, h);
        pathRect(r);
    }
    else
        pathRect(rect);
    fillStroke(style);
}

void CDrawContext::drawRoundRect(const CRect& rect, CCoord radius, CDrawStyle style)
{
    CGraphicsPath path;
    path.addRoundRect(rect, radius);
    drawGraphicsPath(&path, style == kDrawStroked ? kPathStroked : kPathFilled);
    if (style == kDrawFilledAndStroked)
        drawGraphicsPath(&path, kPathStroked);
}

void CDrawContext::drawEllipse(const CRect& rect, CDrawStyle style)
{
    cairo_save(cr);
    cairo_translate(cr, rect.left + rect.getWidth() / 2., rect.top + rect.getHeight() / 2.);
    cairo_scale(cr, std::max(rect.getWidth(), 1e-9) / 2., std::max(rect.getHeight(), 1e-9) / 2.);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    fillStroke(style);
}

void CDrawContext::drawArc(const CRect& rect, float startAngle, float endAngle, CDrawStyle style)
{
    CGraphicsPath path;
    path.addArc(rect, startAngle, endAngle, true);
    drawGraphicsPath(&path, style == kDrawStroked ? kPathStroked : kPathFilled);
}

void CDrawContext::drawPoint(const CPoint& p, const CColor& color)
{
    cairo_rectangle(cr, p.x, p.y, 1, 1);
    applyColor(color);
    cairo_fill(cr);
}

void CDrawContext::clearRect(const CRect& rect)
{
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    pathRect(rect);
    cairo_fill(cr);
    cairo_restore(cr);
}

CGraphicsPath* CDrawContext::createGraphicsPath() { return new CGraphicsPath(); }

void CDrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode)
{
    if (!path)
        return;
    cairo_new_path(cr);
    for (const auto& e : path->getElements())
    {
        switch (e.op)
        {
        case CGraphicsPath::Op::Move: cairo_move_to(cr, e.v[0], e.v[1]); break;
        case CGraphicsPath::Op::Line: cairo_line_to(cr, e.v[0], e.v[1]); break;
        case CGraphicsPath::Op::Curve:
            cairo_curve_to(cr, e.v[0], e.v[1], e.v[2], e.v[3], e.v[4], e.v[5]);
            break;
        case CGraphicsPath::Op::Close: cairo_close_path(cr); break;
        case CGraphicsPath::Op::Rect: cairo_rectangle(cr, e.v[0], e.v[1], e.v[2], e.v[3]); break;
        case CGraphicsPath::Op::Arc:
        case CGraphicsPath::Op::NegativeArc:
        {
            cairo_matrix_t saved;
            cairo_get_matrix(cr, &saved);
            cairo_translate(cr, e.v[0], e.v[1]);
            cairo_scale(cr, std::max(e.v[2], 1e-9), std::max(e.v[3], 1e-9));
            if (e.op == CGraphicsPath::Op::Arc)
                cairo_arc(cr, 0, 0, 1, e.v[4], e.v[5]);
            else
                cairo_arc_negative(cr, 0, 0, 1, e.v[4], e.v[5]);
            cairo_set_matrix(cr, &saved);
            break;
        }
        }
    }
    cairo_set_fill_rule(cr, mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    fillStroke(mode == kPathStroked ? kDrawStroked : kDrawFilled);
}

void CDrawContext::drawString(UTF8StringPtr string, const CRect& rect, CHoriTxtAlign align, bool antialias)
{
    if (!string || !*string || !state.font)
        return;
    PangoLayout* layout = TextLayout::get(*state.font, string);
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    const double w = static_cast<double>(logical.width) / PANGO_SCALE;
    const double h = static_cast<double>(logical.height) / PANGO_SCALE;
    double x = rect.left;
    if (align == kCenterText)
        x = rect.left + (rect.getWidth() - w) / 2.;
    else if (align == kRightText)
        x = rect.right - w;
    const double y = rect.top + (rect.getHeight() - h) / 2.;
    cairo_move_to(cr, std::round(x * scaleFactor) / scaleFactor, std::round(y * scaleFactor) / scaleFactor);
    applyColor(state.fontColor);
    pango_cairo_show_layout(cr, layout);
    cairo_new_path(cr);
}

void CDrawContext::drawString(UTF8StringPtr string, const CPoint& point, bool antialias)
{
    if (!string || !*string || !state.font)
        return;
    PangoLayout* layout = TextLayout::get(*state.font, string);
    const double baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    cairo_move_to(cr, point.x, point.y - baseline);
    applyColor(state.fontColor);
    pango_cairo_show_layout(cr, layout);
    cairo_new_path(cr);
}

CCoord CDrawContext::getStringWidth(UTF8StringPtr string)
{
    if (!string || !state.font)
        return 0;
    return TextLayout::measure(*state.font, string).x;
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    if (!bitmap)
        return;
    if (dynamic_cast<CNinePartTiledBitmap*>(bitmap))
    {
        bitmap->draw(this, dest, offset, alpha);
        return;
    }
    cairo_surface_t* s = bitmap->getSurfaceForScale(scaleFactor);
    if (!s)
        return;
    cairo_save(cr);
    pathRect(dest);
    cairo_clip(cr);
    cairo_set_source_surface(cr, s, dest.left - offset.x, dest.top - offset.y);
    // Whole-point positions at a whole scale map image pixels straight to device pixels.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha * state.globalAlpha);
    cairo_restore(cr);
}

void CDrawContext::drawSurface(void* cairoSurface, const CRect& dest, float alpha)
{
    auto* s = static_cast<cairo_surface_t*>(cairoSurface);
    if (!s)
        return;
    cairo_save(cr);
    pathRect(dest);
    cairo_clip(cr);
    cairo_set_source_surface(cr, s, dest.left, dest.top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_FAST);
    cairo_paint_with_alpha(cr, alpha * state.globalAlpha);
    cairo_restore(cr);
}

SharedPointer<COffscreenContext> COffscreenContext::create(const CPoint& size, double scaleFactor)
{
    const int w = std::max(1, static_cast<int>(std::ceil(size.x * scaleFactor)));
    const int h = std::max(1, static_cast<int>(std::ceil(size.y * scaleFactor)));
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_t* c = cairo_create(s);
    auto* context = new COffscreenContext(s, c, size, scaleFactor);
    cairo_destroy(c);
    return owned(context);
}

COffscreenContext::COffscreenContext(void* s, cairo_t* c, const CPoint& size, double scaleFactor)
    : CDrawContext(c, size, scaleFactor)
    , surface(s)
{}

COffscreenContext::~COffscreenContext()
{
    cairo_surface_flush(static_cast<cairo_surface_t*>(surface));
    cairo_surface_destroy(static_cast<cairo_surface_t*>(surface));
}

int32_t COffscreenContext::getPixelWidth() const
{
    return cairo_image_surface_get_width(static_cast<cairo_surface_t*>(surface));
}

int32_t COffscreenContext::getPixelHeight() const
{
    return cairo_image_surface_get_height(static_cast<cairo_surface_t*>(surface));
}

CColor COffscreenContext::getPixel(int32_t x, int32_t y) const
{
    auto* s = static_cast<cairo_surface_t*>(surface);
    cairo_surface_flush(s);
    if (x < 0 || y < 0 || x >= getPixelWidth() || y >= getPixelHeight())
        return kTransparentCColor;
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    uint32_t argb;
    std::memcpy(&argb, data + y * stride + x * 4, 4);
    const uint8_t a = static_cast<uint8_t>(argb >> 24);
    auto unpremultiply = [a](uint32_t c) {
        return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return CColor(unpremultiply((argb >> 16) & 0xff), unpremultiply((argb >> 8) & 0xff),
                  unpremultiply(argb & 0xff), a);
}

bool COffscreenContext::writePNG(const std::string& path) const
{
    auto* s = static_cast<cairo_surface_t*>(surface);
    cairo_surface_flush(s);
    return cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace VSTGUI
