// `tessaline ir`: the room's stereo impulse response as a 32-bit float file, for any convolver.
#include "Commands.h"

#include "ImpulseResponse.h"
#include "MeasureOptions.h"
#include "OutputFormat.h"
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
               "\n"
               "Writes the room's stereo impulse response for these settings into OUT as 32-bit float\n"
               "WAV (AIFF when OUT ends in .aif or .aiff): exactly what the plug-in outputs for a unit\n"
               "impulse on both inputs, once the settings have reached the whole room. Sample 0 is the\n"
               "impulse; the room answers from sample 255 on, as in the plug-in.\n"
               "\n")
           + kRoomSettingsUsage + kMeasureUsage;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\n", message.c_str());
    return 1;
}

// Float samples need WAV or AIFF; refuse other names rather than write what the name denies.
bool formatForName(const std::string& path, int& format, std::string& error)
{
    const int named = containerForName(path);
    if (named == SF_FORMAT_FLAC || named == SF_FORMAT_OGG)
    {
        error = "'" + path + "': an impulse response is written as 32-bit float WAV or AIFF, which "
                + containerName(named) + " cannot hold";
        return false;
    }
    format = (named == SF_FORMAT_AIFF ? SF_FORMAT_AIFF : SF_FORMAT_WAV) | SF_FORMAT_FLOAT;
    return true;
}

bool writeResponse(const std::string& path, int format, const ImpulseResponse& response, std::string& error)
{
    std::vector<float> frames(response.left.size() * 2);
    for (size_t n = 0; n < response.left.size(); ++n)
    {
        frames[2 * n] = response.left[n];
        frames[2 * n + 1] = response.right[n];
    }
    SoundFileSink sink;
    return sink.open(path, format, 2, response.sampleRate, error)
           && sink.write(frames.data(), static_cast<int64_t>(response.left.size()), error)
           && sink.finish(error);
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
        return fail(error + "\n\n" + irUsage());
    if (options.help)
    {
        std::fputs(irUsage().c_str(), stdout);
        return 0;
    }
    int format = 0;
    if (!formatForName(options.outputPath, format, error))
        return fail(error);
    const int64_t frames =
        options.lengthSeconds > 0.0
            ? std::max<int64_t>(1, std::llround(options.lengthSeconds * options.sampleRate))
            : 0;
    ImpulseResponse response;
    if (!measureImpulseResponse(commandLine.bundlePath, options.room, options.sampleRate, frames, response,
                                error)
        || !writeResponse(options.outputPath, format, response, error))
        return fail(error);
    const size_t first = firstSound(response);
    const std::string answer = first < response.left.size()
                                   ? "the room answers from sample " + std::to_string(first)
                                   : "silent over this length";
    std::printf("tessaline: wrote %s (%s, stereo, %d Hz, %.3f s, %s; %s)\n", options.outputPath.c_str(),
                describeFormat(format).c_str(), response.sampleRate,
                static_cast<double>(response.left.size()) / response.sampleRate,
                options.room.describe().c_str(), answer.c_str());
    return 0;
}

} // namespace TessalineTool
