// `tessaline plot`: one picture of the room for a set of settings.
#include "Commands.h"

#include "CommandFailure.h"
#include "CommandHelp.h"

#include "DecayAnalysis.h"
#include "ImpulseResponse.h"
#include "MeasureOptions.h"
#include "PngFile.h"
#include "RoomPlot.h"
#include "StopSignals.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace TessalineTool {

namespace {
// Cairo and fontconfig keep their font caches for the life of the process; handing them back
// keeps leak checkers quiet about memory that was never lost.
void releaseFontCaches()
{
    cairo_debug_reset_static_data();
    FcFini();
}

std::string titleFor(const MeasureOptions& options)
{
    char rate[32];
    std::snprintf(rate, sizeof rate, "%g kHz", options.sampleRate / 1000.0);
    return "Tessaline room: " + options.room.describe() + "   (" + rate + ")";
}
} // namespace

int runPlot(const CommandLine& commandLine)
{
    MeasureOptions options;
    std::string error;
    if (!parseMeasureOptions(commandLine.args, kPlotScope, options, error))
        return failUsage("plot", error);
    if (options.help)
    {
        std::fputs(commandHelp(*findCommand("plot")).c_str(), stdout);
        return 0;
    }
    const int64_t frames = options.frames();
    ImpulseResponse response;
    if (!measureImpulseResponse(commandLine.bundlePath, options.room, options.sampleRate, frames, response,
                                error))
        return fail(error);
    const RoomDecay decay = analyseDecay(response);

    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, options.width, options.height), cairo_surface_destroy);
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr(cairo_create(surface.get()), cairo_destroy);
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return fail("cannot draw a picture of " + std::to_string(options.width) + "x"
                    + std::to_string(options.height));
    const std::vector<PlotLabel> labels =
        drawRoom(cr.get(), options.width, options.height, response, decay, titleFor(options));
    cr.reset();
    bool written = false;
    {
        // Only the writing leaves a file to clean up: a stop waits for it (a stop before ends at once).
        const StopSignals stop;
        written = writePng(surface.get(), labels, options.outputPath, error);
        endIfStopped(stop, options.outputPath, written);
    }
    surface.reset();
    releaseFontCaches();
    if (!written)
        return fail(error);
    // With the picture on standard output, the summary goes with the messages.
    std::FILE* summary = options.outputPath == "-" ? stderr : stdout;
    std::fprintf(summary, "tessaline: wrote %s (%dx%d)\n",
                 options.outputPath == "-" ? "standard output" : options.outputPath.c_str(), options.width,
                 options.height);
    for (const PlotLabel& label : labels)
        std::fprintf(summary, "  %-12s %s\n", label.key.c_str(), label.text.c_str());
    return 0;
}

} // namespace TessalineTool
