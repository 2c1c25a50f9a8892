#include "PlotAxes.h"

#include <cmath>
#include <cstdio>

namespace TessalineTool {

namespace {
constexpr const char* kFont = "DejaVu Sans";

std::string tickText(double value, double step)
{
    char text[32];
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(value) < step * 1e-6 ? 0.0 : value);
    return text;
}
} // namespace

double roundStep(double span, int count)
{
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * power)
            return factor * power;
    return 10.0 * power;
}

void drawText(cairo_t* cr, const std::string& text, double x, double y, double size, double align, bool bold)
{
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, x - align * extents.x_advance, y);
    cairo_show_text(cr, text.c_str());
}

PlotAxes::PlotAxes(cairo_t* cr, double x, double y, double width, double height, double fontSize)
    : cr(cr)
    , fontSize(fontSize)
    , panelX(x)
    , panelY(y)
{
    // Room on the left for the numbers and the vertical label, below for numbers and label,
    // above for the title.
    areaX = x + fontSize * 5.2;
    areaY = y + fontSize * 2.4;
    areaWidth = width - fontSize * 6.2;
    areaHeight = height - fontSize * 5.4;
}

void PlotAxes::setRange(double xl, double xh, double yl, double yh)
{
    xLow = xl;
    xHigh = xh;
    yLow = yl;
    yHigh = yh;
}

double PlotAxes::px(double x) const { return areaX + (x - xLow) / (xHigh - xLow) * areaWidth; }

double PlotAxes::py(double y) const { return areaY + (yHigh - y) / (yHigh - yLow) * areaHeight; }

void PlotAxes::drawFrame(const std::string& title, const std::string& xLabel, const std::string& yLabel)
{
    cairo_set_source_rgb(cr, 0.98, 0.98, 0.97);
    cairo_rectangle(cr, areaX, areaY, areaWidth, areaHeight);
    cairo_fill(cr);

    const double tick = fontSize * 0.9;
    const double xStep = roundStep(xHigh - xLow, 8);
    const double yStep = roundStep(yHigh - yLow, 6);
    cairo_set_line_width(cr, 1.0);
    for (double x = std::ceil(xLow / xStep) * xStep; xNumbers && x <= xHigh + xStep * 1e-6; x += xStep)
    {
        cairo_set_source_rgb(cr, 0.87, 0.87, 0.87);
        cairo_move_to(cr, std::round(px(x)) + 0.5, areaY);
        cairo_line_to(cr, std::round(px(x)) + 0.5, bottom());
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        drawText(cr, tickText(x, xStep), px(x), bottom() + tick * 1.3, tick, 0.5);
    }
    for (double y = std::ceil(yLow / yStep) * yStep; y <= yHigh + yStep * 1e-6; y += yStep)
    {
        cairo_set_source_rgb(cr, 0.87, 0.87, 0.87);
        cairo_move_to(cr, areaX, std::round(py(y)) + 0.5);
        cairo_line_to(cr, right(), std::round(py(y)) + 0.5);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        drawText(cr, tickText(y, yStep), areaX - tick * 0.5, py(y) + tick * 0.35, tick, 1.0);
    }
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
    cairo_rectangle(cr, areaX + 0.5, areaY + 0.5, areaWidth, areaHeight);
    cairo_stroke(cr);

    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    drawText(cr, title, areaX, panelY + fontSize * 1.5, fontSize * 1.1, 0.0, true);
    drawText(cr, xLabel, areaX + areaWidth / 2.0, bottom() + tick * 2.9, fontSize, 0.5);
    cairo_save(cr);
    cairo_translate(cr, panelX + fontSize * 1.2, areaY + areaHeight / 2.0);
    cairo_rotate(cr, -M_PI / 2.0);
    drawText(cr, yLabel, 0.0, 0.0, fontSize, 0.5);
    cairo_restore(cr);
}

void PlotAxes::clip()
{
    cairo_save(cr);
    cairo_rectangle(cr, areaX, areaY, areaWidth, areaHeight);
    cairo_clip(cr);
}

void PlotAxes::unclip() { cairo_restore(cr); }

} // namespace TessalineTool
