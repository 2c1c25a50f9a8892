// One chart of the room picture: a panel with a title, a plotting area with data ranges mapped to
// pixels, a light grid with numbered ticks at round steps, and axis labels with their units.
#pragma once

#include <cairo.h>

#include <string>

namespace TessalineTool {

class PlotAxes
{
public:
    // The panel occupies the rectangle (x, y, width, height) of the picture; fontSize scales the
    // text and the margins.
    PlotAxes(cairo_t* cr, double x, double y, double width, double height, double fontSize);

    void setRange(double xLow, double xHigh, double yLow, double yHigh);
    // Leaves the numbers off the horizontal axis (a chart with named categories draws its own).
    void hideXNumbers() { xNumbers = false; }

    // Pixel position of a data value.
    double px(double x) const;
    double py(double y) const;
    double left() const { return areaX; }
    double right() const { return areaX + areaWidth; }
    double top() const { return areaY; }
    double bottom() const { return areaY + areaHeight; }

    // Background, grid, ticks with their numbers, the title and the axis labels.
    void drawFrame(const std::string& title, const std::string& xLabel, const std::string& yLabel);
    // Restricts drawing to the plotting area until unclip().
    void clip();
    void unclip();

private:
    cairo_t* cr;
    double fontSize;
    double panelX, panelY;
    double areaX, areaY, areaWidth, areaHeight;
    double xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
    bool xNumbers = true;
};

// A round step (1, 2 or 5 times a power of ten) that cuts span into about `count` pieces.
double roundStep(double span, int count);

// Text in the picture's font: horizontally centred (align 0.5), left (0) or right (1) at x, with
// its baseline at y.
void drawText(cairo_t* cr, const std::string& text, double x, double y, double size, double align,
              bool bold = false);

} // namespace TessalineTool
