// `tessaline ir`: the room's stereo impulse response as a 32-bit float file, for any convolver.
#include "Commands.h"

#include "ImpulseResponse.h"
#include "MeasureOptions.h"
#include "OutputFormat.h"
#include "OutputTarget.h"
#include "SoundFileSink.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace TessalineTool {

namespace {
std::string irUsage()
{
    return std::string(
               "usage: tessaline ir OUT [--preset NAME] [--set PARAM=VALUE ...] [--rate HZ] [--length "
               "SECONDS]\n"
               "                    [--type TYPE] [--any-rate] [--]\n"
               "\n"
               "Writes the room's stereo impulse response for these settings into OUT: exactly what the\n"
               "plug-in outputs for a unit impulse on both inputs, once the settings have reached the\n"
               "whole room. Sample 0 is the impulse; the room answers from sample 255 on, as in the\n"
               "plug-in. OUT's container is the one its extension names (wav, w64, rf64, aif, aiff,\n"
               "flac, ogg, oga, opus), else --type's, else 32-bit float WAV; - writes standard output.\n"
               "\n")
           + kRoomSettingsUsage + kMeasureUsage
           + "  --type TYPE         OUT's container, whatever its name (wav, w64, rf64, aiff, flac, ogg, "
             "opus)\n"
             "  --                  every argument after it is a file name\n";
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\n", message.c_str());
    return 1;
}

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
    if (!parseMeasureOptions(commandLine.args, false, options, error))
    {
        fail(error + "\nsee tessaline ir --help");
        return 2; // a usage error, as every command reports one
    }
    if (options.help)
    {
        std::fputs(irUsage().c_str(), stdout);
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
                                error)
        || !writeResponse(target, format, response, written, error))
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
