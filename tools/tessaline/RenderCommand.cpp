// `tessaline render`: a sound file (or the built-in demo) through the bundle, as a DAW renders a
// track with the effect on it, tail included.
#include "Commands.h"

#include "DemoSignal.h"
#include "OutputFormat.h"
#include "PluginSession.h"
#include "ProgressBar.h"
#include "RenderOptions.h"
#include "SameFile.h"
#include "SoundFileSink.h"
#include "SoundFileSource.h"

#include "HostAudioBuffers.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
// An infinite tail is cut after this long, so a render always ends.
constexpr double kLongestTailSeconds = 30.0;

int fail(const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\n", message.c_str());
    return 1;
}

std::unique_ptr<AudioSource> openSource(const RenderOptions& options, std::string& error)
{
    if (options.inputPath.empty())
        return std::make_unique<DemoSignal>();
    auto file = std::make_unique<SoundFileSource>();
    if (!file->open(options.inputPath, error))
        return nullptr;
    return file;
}

// The preset first, then each --set in order, so a setting overrides the preset's value.
bool resolveEdits(PluginSession& session, const RenderOptions& options, std::vector<ParameterEdit>& edits,
                  std::string& error)
{
    ParameterEdit edit;
    if (!options.preset.empty())
    {
        if (!resolvePreset(session.presets(), options.preset, edit, error))
            return false;
        edits.push_back(edit);
    }
    for (const std::string& setting : options.settings)
    {
        if (!resolveSetting(session.controller(), setting, edit, error))
            return false;
        edits.push_back(edit);
    }
    return true;
}

// The reported tail, with an infinite one (kInfiniteTail, the largest value) cut to the longest.
int64_t tailFrames(const PluginSession& session, int sampleRate)
{
    const auto longest = static_cast<int64_t>(kLongestTailSeconds * sampleRate);
    return std::min<int64_t>(session.tailSamples(), longest);
}

// Moves interleaved frames into the buses' channels and back.
void deinterleave(const std::vector<float>& frames, int32 block, TessalineHost::HostAudioBuffers& buffers)
{
    const int32 channels = buffers.inputChannels();
    for (int32 c = 0; c < channels; ++c)
    {
        float* in = buffers.input(c);
        for (int32 n = 0; n < block; ++n)
            in[n] = frames[static_cast<size_t>(n * channels + c)];
    }
}

void interleave(TessalineHost::HostAudioBuffers& buffers, int32 block, std::vector<float>& frames)
{
    const int32 channels = buffers.outputChannels();
    for (int32 c = 0; c < channels; ++c)
    {
        const float* out = buffers.output(c);
        for (int32 n = 0; n < block; ++n)
            frames[static_cast<size_t>(n * channels + c)] = out[n];
    }
}

struct RenderJob
{
    AudioSource& source;
    PluginSession& session;
    SoundFileSink& sink;
    int blockSize;
    int64_t totalFrames;
};

bool renderBlocks(RenderJob job, std::string& error)
{
    const int channels = job.source.channels();
    TessalineHost::HostAudioBuffers buffers(channels, channels, job.blockSize);
    std::vector<float> frames(static_cast<size_t>(job.blockSize * channels));
    ProgressBar progress(job.totalFrames, job.source.sampleRate());
    for (int64_t done = 0; done < job.totalFrames;)
    {
        const auto block = static_cast<int32>(std::min<int64_t>(job.blockSize, job.totalFrames - done));
        const int64_t got = job.source.read(frames.data(), block);
        if (got < 0)
        {
            error = "reading the input failed";
            return false;
        }
        // Past the input's end (the tail) the plug-in hears silence.
        std::fill(frames.begin() + got * channels, frames.begin() + block * channels, 0.0f);
        deinterleave(frames, block, buffers);
        if (!job.session.process(buffers, block))
        {
            error = "the plug-in failed to process a block";
            return false;
        }
        interleave(buffers, block, frames);
        if (!job.sink.write(frames.data(), block, error))
            return false;
        done += block;
        progress.update(done);
    }
    return true;
}

// OUT keeps IN's container; say so when OUT's name suggests another one.
void warnAboutExtension(const std::string& outputPath, int format)
{
    const int named = containerForName(outputPath);
    const int written = format & SF_FORMAT_TYPEMASK;
    const bool sameFamily = named == written || (named == SF_FORMAT_WAV && written == SF_FORMAT_WAVEX);
    if (named != 0 && !sameFamily)
        std::fprintf(stderr, "tessaline: note: %s gets %s data like the input, whatever its name says\n",
                     outputPath.c_str(), containerName(format).c_str());
}

void printSummary(const RenderOptions& options, const AudioSource& source, int64_t tail, int format)
{
    const double rate = source.sampleRate();
    std::printf("tessaline: wrote %s (%s, %s, %d Hz, %.2f s = %.2f s input + %.2f s tail)\n",
                options.outputPath.c_str(), describeFormat(format).c_str(),
                source.channels() == 1 ? "mono" : "stereo", source.sampleRate(),
                static_cast<double>(source.frames() + tail) / rate,
                static_cast<double>(source.frames()) / rate, static_cast<double>(tail) / rate);
}
} // namespace

int runRender(const CommandLine& commandLine)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(commandLine.args, options, error))
        return fail(error + "\n\n" + renderUsage());
    if (options.help)
    {
        std::fputs(renderUsage(), stdout);
        return 0;
    }
    if (!options.inputPath.empty() && sameFile(options.inputPath, options.outputPath))
        return fail("OUT is the same file as IN; choose another output name");
    std::unique_ptr<AudioSource> source = openSource(options, error);
    if (!source)
        return fail(error);

    PluginSession session;
    std::vector<ParameterEdit> edits;
    if (!session.open(commandLine.bundlePath, error) || !resolveEdits(session, options, edits, error))
        return fail(error);
    session.edit(edits);
    if (!session.start(source->channels(), source->sampleRate(), options.blockSize, error))
        return fail(error);

    const int64_t tail = options.renderTail ? tailFrames(session, source->sampleRate()) : 0;
    const int format = outputFormatFor(source->container());
    warnAboutExtension(options.outputPath, format);
    SoundFileSink sink;
    if (!sink.open(options.outputPath, format, source->channels(), source->sampleRate(), error))
        return fail(error);
    if (!renderBlocks({*source, session, sink, options.blockSize, source->frames() + tail}, error)
        || !sink.finish(error))
        return fail(error);
    printSummary(options, *source, tail, format);
    return 0;
}

} // namespace TessalineTool
