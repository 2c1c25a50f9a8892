#include "RoomPlot.h"

#include "PlotAxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace TessalineTool {

namespace {
struct Colour
{
    double r, g, b;
};
constexpr Colour kLeftEar{0.10, 0.35, 0.75};
constexpr Colour kRightEar{0.88, 0.42, 0.08};
constexpr Colour kDecay{0.15, 0.15, 0.15};
constexpr Colour kFit{0.80, 0.10, 0.20};
constexpr Colour kBar{0.25, 0.55, 0.55};
constexpr double kFloorDb = -90.0; // the dB charts end here below the peak

void setColour(cairo_t* cr, Colour c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

std::string bandName(double centre)
{
    char text[16];
    if (centre >= 1000.0)
        std::snprintf(text, sizeof text, "%gk", centre / 1000.0);
    else
        std::snprintf(text, sizeof text, "%g", centre);
    return text;
}

// The samples that fall into pixel column `column` of an area `columns` wide.
void columnSpan(size_t frames, int columns, int column, size_t& first, size_t& end)
{
    first = frames * static_cast<size_t>(column) / static_cast<size_t>(columns);
    end = std::max(first + 1, frames * static_cast<size_t>(column + 1) / static_cast<size_t>(columns));
    end = std::min(end, frames);
}

void legend(cairo_t* cr, const PlotAxes& axes, double fontSize)
{
    const double x = axes.right() - fontSize * 7.5;
    double y = axes.top() + fontSize * 1.4;
    for (const auto& [name, colour] :
         {std::pair<const char*, Colour>{"left ear", kLeftEar}, {"right ear", kRightEar}})
    {
        setColour(cr, colour);
        cairo_rectangle(cr, x, y - fontSize * 0.7, fontSize * 1.4, fontSize * 0.7);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        drawText(cr, name, x + fontSize * 1.8, y, fontSize * 0.95, 0.0);
        y += fontSize * 1.3;
    }
}

// Each pixel column shows the smallest and largest sample it covers, so no peak is lost.
void drawLinear(cairo_t* cr, PlotAxes& axes, const ImpulseResponse& response, double seconds, double fontSize)
{
    double peak = 1e-9;
    for (size_t n = 0; n < response.left.size(); ++n)
        peak = std::max({peak, std::fabs(static_cast<double>(response.left[n])),
                         std::fabs(static_cast<double>(response.right[n]))});
    const double limit = roundStep(peak * 1.1, 4) * std::ceil(peak * 1.1 / roundStep(peak * 1.1, 4));
    axes.setRange(0.0, seconds, -limit, limit);
    axes.drawFrame("Impulse response, linear", "time (s)", "amplitude (full scale = 1)");
    axes.clip();
    const int columns = std::max(1, static_cast<int>(axes.right() - axes.left()));
    cairo_set_line_width(cr, 1.0);
    for (const auto* ear : {&response.left, &response.right})
    {
        setColour(cr, ear == &response.left ? kLeftEar : kRightEar, ear == &response.left ? 0.85 : 0.6);
        for (int column = 0; column < columns; ++column)
        {
            size_t first = 0, end = 0;
            columnSpan(ear->size(), columns, column, first, end);
            if (first >= end)
                continue;
            const auto [low, high] = std::minmax_element(ear->begin() + static_cast<long>(first),
                                                         ear->begin() + static_cast<long>(end));
            const double x = axes.left() + column + 0.5;
            cairo_move_to(cr, x, axes.py(*high) - 0.5);
            cairo_line_to(cr, x, axes.py(*low) + 0.5);
        }
        cairo_stroke(cr);
    }
    axes.unclip();
    legend(cr, axes, fontSize);
}

// Where and how far down the response ends: a dashed line at its last non-zero sample and the
// level of its last 10 ms, so a cut (a tail still loud when it stops) shows at a glance.
void drawEnd(cairo_t* cr, PlotAxes& axes, const ResponseEnd& end, double fontSize)
{
    if (!end.valid)
        return;
    const double x = axes.px(end.seconds);
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
    cairo_set_line_width(cr, 1.0);
    const double dash[] = {fontSize * 0.4, fontSize * 0.3};
    cairo_set_dash(cr, dash, 2, 0.0);
    cairo_move_to(cr, x, axes.top());
    cairo_line_to(cr, x, axes.bottom());
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    drawText(cr, "last 10 ms at " + endText(end) + " against the loudest 10 ms", x - fontSize * 0.5,
             axes.bottom() - fontSize * 0.8, fontSize * 0.9, 1.0);
}

// The loudest sample per pixel column in dB, as a line per ear, and where the response ends.
void drawLevels(cairo_t* cr, PlotAxes& axes, const ImpulseResponse& response, const ResponseEnd& responseEnd,
                double seconds, double fontSize)
{
    double peak = 1e-9;
    for (size_t n = 0; n < response.left.size(); ++n)
        peak = std::max({peak, std::fabs(static_cast<double>(response.left[n])),
                         std::fabs(static_cast<double>(response.right[n]))});
    const double top = std::ceil(20.0 * std::log10(peak) / 10.0) * 10.0;
    axes.setRange(0.0, seconds, top + kFloorDb, top);
    axes.drawFrame("Impulse response, level", "time (s)", "level (dBFS)");
    axes.clip();
    const int columns = std::max(1, static_cast<int>(axes.right() - axes.left()));
    cairo_set_line_width(cr, 1.2);
    for (const auto* ear : {&response.left, &response.right})
    {
        setColour(cr, ear == &response.left ? kLeftEar : kRightEar, 0.8);
        bool drawing = false;
        for (int column = 0; column < columns; ++column)
        {
            size_t first = 0, end = 0;
            columnSpan(ear->size(), columns, column, first, end);
            double loudest = 0.0;
            for (size_t n = first; n < end; ++n)
                loudest = std::max(loudest, std::fabs(static_cast<double>((*ear)[n])));
            const double db = loudest > 0.0 ? std::max(20.0 * std::log10(loudest), top + kFloorDb - 1.0)
                                            : top + kFloorDb - 1.0;
            const double x = axes.left() + column + 0.5;
            if (drawing)
                cairo_line_to(cr, x, axes.py(db));
            else
                cairo_move_to(cr, x, axes.py(db));
            drawing = true;
        }
        cairo_stroke(cr);
    }
    axes.unclip();
    drawEnd(cr, axes, responseEnd, fontSize);
    legend(cr, axes, fontSize);
}

void drawDecay(cairo_t* cr, PlotAxes& axes, const RoomDecay& decay, double seconds, double fontSize,
               const std::string& t30)
{
    axes.setRange(0.0, seconds, kFloorDb, 0.0);
    axes.drawFrame("Energy decay curve (both ears)", "time (s)", "energy left (dB)");
    axes.clip();
    // The part of the curve the T30 line is fitted to.
    setColour(cr, kFit, 0.08);
    cairo_rectangle(cr, axes.left(), axes.py(-5.0), axes.right() - axes.left(),
                    axes.py(-35.0) - axes.py(-5.0));
    cairo_fill(cr);
    setColour(cr, kDecay);
    cairo_set_line_width(cr, 2.0);
    const int columns = std::max(1, static_cast<int>(axes.right() - axes.left()));
    for (int column = 0; column < columns; ++column)
    {
        const auto n = static_cast<size_t>(static_cast<double>(column) / columns
                                           * static_cast<double>(decay.curve.size()));
        if (n >= decay.curve.size() || !std::isfinite(decay.curve[n]))
            break;
        const double x = axes.left() + column + 0.5;
        if (column == 0)
            cairo_move_to(cr, x, axes.py(decay.curve[n]));
        else
            cairo_line_to(cr, x, axes.py(decay.curve[n]));
    }
    cairo_stroke(cr);
    if (decay.broadband.valid)
    {
        const DecayFit& fit = decay.broadband;
        const double end = std::min(seconds, (-65.0 - fit.intercept) / fit.slope);
        setColour(cr, kFit);
        const double dashes[] = {8.0, 5.0};
        cairo_set_dash(cr, dashes, 2, 0.0);
        cairo_move_to(cr, axes.px(0.0), axes.py(fit.intercept));
        cairo_line_to(cr, axes.px(end), axes.py(fit.intercept + fit.slope * end));
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0.0);
    }
    axes.unclip();
    setColour(cr, kFit);
    drawText(cr, "T30 " + t30, axes.right() - fontSize * 0.8, axes.top() + fontSize * 2.0, fontSize * 1.6,
             1.0, true);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    drawText(cr, "line fitted from -5 to -35 dB (shaded)", axes.right() - fontSize * 0.8,
             axes.top() + fontSize * 3.4, fontSize * 0.9, 1.0);
}

void drawBands(cairo_t* cr, PlotAxes& axes, const RoomDecay& decay, double fontSize,
               const std::vector<PlotLabel>& labels)
{
    double longest = decay.broadband.valid ? decay.broadband.t30 : 0.0;
    for (const BandDecay& band : decay.bands)
        if (band.fit.valid)
            longest = std::max(longest, band.fit.t30);
    const double step = roundStep(std::max(longest, 0.1) * 1.25, 5);
    const double top = step * std::ceil(std::max(longest, 0.1) * 1.25 / step);
    const auto count = static_cast<double>(decay.bands.size());
    axes.setRange(0.0, count, 0.0, top);
    axes.hideXNumbers();
    axes.drawFrame("T30 per octave band (both ears)", "octave band centre (Hz)", "T30 (s)");
    const double slot = (axes.right() - axes.left()) / count;
    for (size_t i = 0; i < decay.bands.size(); ++i)
    {
        const BandDecay& band = decay.bands[i];
        const double centre = axes.left() + slot * (static_cast<double>(i) + 0.5);
        if (band.fit.valid)
        {
            setColour(cr, kBar);
            cairo_rectangle(cr, centre - slot * 0.32, axes.py(band.fit.t30), slot * 0.64,
                            axes.bottom() - axes.py(band.fit.t30));
            cairo_fill(cr);
        }
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        const double labelY =
            band.fit.valid ? axes.py(band.fit.t30) - fontSize * 0.4 : axes.bottom() - fontSize * 0.6;
        // Narrow bars get smaller numbers so that neighbours never run into each other.
        drawText(cr, labels[i + 1].text, centre, labelY, std::min(fontSize * 0.95, slot / 3.6), 0.5, true);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        drawText(cr, bandName(band.centre), centre, axes.bottom() + fontSize * 1.2, fontSize * 0.9, 0.5);
    }
    if (decay.broadband.valid)
    {
        setColour(cr, kFit);
        const double dashes[] = {8.0, 5.0};
        cairo_set_dash(cr, dashes, 2, 0.0);
        cairo_set_line_width(cr, 1.5);
        cairo_move_to(cr, axes.left(), axes.py(decay.broadband.t30));
        cairo_line_to(cr, axes.right(), axes.py(decay.broadband.t30));
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0.0);
        drawText(cr, "broadband", axes.right() - fontSize * 0.4,
                 axes.py(decay.broadband.t30) - fontSize * 0.4, fontSize * 0.85, 1.0);
    }
}
} // namespace

std::vector<PlotLabel> drawRoom(cairo_t* cr, int width, int height, const ImpulseResponse& response,
                                const RoomDecay& decay, const std::string& title)
{
    std::vector<PlotLabel> labels{{"T30", t30Text(decay.broadband)}};
    for (const BandDecay& band : decay.bands)
        labels.push_back(
            {"T30 " + bandName(band.centre) + " Hz", band.aboveNyquist ? "n/a" : t30Text(band.fit)});
    labels.push_back({"End", endText(decay.end)});

    const double fontSize = std::clamp(std::min(width / 80.0, height / 60.0), 9.0, 30.0);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    drawText(cr, title, fontSize, fontSize * 1.9, fontSize * 1.35, 0.0, true);

    const double seconds = static_cast<double>(response.left.size()) / response.sampleRate;
    const double top = fontSize * 3.0;
    const double panelWidth = width / 2.0;
    const double panelHeight = (height - top) / 2.0;
    PlotAxes linear(cr, 0.0, top, panelWidth, panelHeight, fontSize);
    drawLinear(cr, linear, response, seconds, fontSize);
    PlotAxes levels(cr, panelWidth, top, panelWidth, panelHeight, fontSize);
    drawLevels(cr, levels, response, decay.end, seconds, fontSize);
    PlotAxes curve(cr, 0.0, top + panelHeight, panelWidth, panelHeight, fontSize);
    drawDecay(cr, curve, decay, seconds, fontSize, labels[0].text);
    PlotAxes bands(cr, panelWidth, top + panelHeight, panelWidth, panelHeight, fontSize);
    drawBands(cr, bands, decay, fontSize, labels);
    return labels;
}

} // namespace TessalineTool
