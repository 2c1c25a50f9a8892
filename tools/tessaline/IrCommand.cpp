// `tessaline ir`: the room's stereo impulse response as a 32-bit float file, for any convolver.
#include "Commands.h"

#include "CommandFailure.h"
#include "CommandHelp.h"

#include "ImpulseResponse.h"
#include "MeasureOptions.h"
#include "OutputFormat.h"
#include "OutputTarget.h"
#include "SoundFileSink.h"
#include "StopSignals.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace TessalineTool {

namespace {
bool writeResponse(const OutputTarget& target, int format, const ImpulseResponse& response, int& written,
                   std::string& error)
{
    std::vector<float> frames(response.left.size() * 2);
    for (size_t n = 0; n < response.left.size(); ++n)
    {
        frames[2 * n] = response.left[n];
        frames[2 * n + 1] = response.right[n];
    }
    SoundFileSink sink;
    const auto count = static_cast<int64_t>(response.left.size());
    if (!sink.open(target, format, 2, response.sampleRate, count, error)
        || !sink.write(frames.data(), count, error) || !sink.finish(error))
        return false;
    written = sink.format();
    return true;
}

size_t firstSound(const ImpulseResponse& response)
{
    for (size_t n = 0; n < response.left.size(); ++n)
        if (response.left[n] != 0.0f || response.right[n] != 0.0f)
            return n;
    return response.left.size();
}
} // namespace

int runIr(const CommandLine& commandLine)
{
    MeasureOptions options;
    std::string error;
    if (!parseMeasureOptions(commandLine.args, kIrScope, options, error))
        return failUsage("ir", error);
    if (options.help)
    {
        std::fputs(commandHelp(*findCommand("ir")).c_str(), stdout);
        return 0;
    }
    int format = 0;
    OutputTarget target;
    if (!chooseOutputFormat(options.outputPath, options.type, SF_FORMAT_WAV, format, error)
        || !resolveOutputTarget(options.outputPath, target, error))
        return fail(error);
    const int64_t frames = options.frames();
    ImpulseResponse response;
    int written = format;
    if (!measureImpulseResponse(commandLine.bundlePath, options.room, options.sampleRate, frames, response,
                                error))
        return fail(error);
    // Only the writing leaves a file to clean up: a stop waits for it (a stop before ends at once).
    StopSignals stop;
    const bool done = writeResponse(target, format, response, written, error);
    endIfStopped(stop, options.outputPath, done);
    if (!done)
        return fail(error);
    const size_t first = firstSound(response);
    const std::string answer = first < response.left.size()
                                   ? "the room answers from sample " + std::to_string(first)
                                   : "silent over this length";
    const bool toStandardOutput = target.kind == OutputTarget::Kind::kStandardOutput;
    std::fprintf(
        toStandardOutput ? stderr : stdout, "tessaline: wrote %s (%s, stereo, %d Hz, %.3f s, %s; %s)\n",
        toStandardOutput ? "standard output" : options.outputPath.c_str(), describeFormat(written).c_str(),
        response.sampleRate, static_cast<double>(response.left.size()) / response.sampleRate,
        options.room.describe().c_str(), answer.c_str());
    return 0;
}

} // namespace TessalineTool
