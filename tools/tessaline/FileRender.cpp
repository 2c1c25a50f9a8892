#include "FileRender.h"

#include "DemoSignal.h"
#include "LevelMeter.h"
#include "OutputFormat.h"
#include "PluginSession.h"
#include "ProgressBar.h"
#include "ResampledSink.h"
#include "ResampledSource.h"
#include "SameFile.h"
#include "ScratchSignal.h"
#include "SoundFileSink.h"
#include "SoundFileSource.h"

#include "HostAudioBuffers.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
// An infinite tail is cut after this long, so a render always ends.
constexpr double kLongestTailSeconds = 30.0;

std::unique_ptr<AudioSource> openSource(const std::string& input, std::string& error)
{
    if (input.empty())
        return std::make_unique<DemoSignal>();
    auto file = std::make_unique<SoundFileSource>();
    if (!file->open(input, error))
        return nullptr;
    return file;
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

// The dry signal added to the room signal frame by frame: the plug-in reports no latency, so a
// host's send places the room's answer exactly where it comes out, 255 samples after the sound.
void blend(const std::vector<float>& dry, double mix, size_t count, std::vector<float>& room)
{
    if (mix == 1.0)
        return; // the room signal untouched, bit for bit
    for (size_t i = 0; i < count; ++i)
        room[i] = static_cast<float>((1.0 - mix) * dry[i] + mix * room[i]);
}

struct BlockRender
{
    AudioSource& source;
    PluginSession& session;
    FrameSink& sink;
    LevelMeter& meter;
    int blockSize;
    double mix;
    int64_t totalFrames;
    const FileRender& file;
};

bool renderBlocks(const BlockRender& job, std::string& error)
{
    const int channels = job.source.channels();
    TessalineHost::HostAudioBuffers buffers(channels, channels, job.blockSize);
    std::vector<float> dry(static_cast<size_t>(job.blockSize * channels));
    std::vector<float> frames(dry.size());
    ProgressBar progress(job.file.onProgress ? 0 : job.totalFrames, job.source.sampleRate(),
                         job.file.progressLabel, !job.file.onProgress);
    for (int64_t done = 0; done < job.totalFrames;)
    {
        const auto block = static_cast<int32>(std::min<int64_t>(job.blockSize, job.totalFrames - done));
        const int64_t got = job.source.read(dry.data(), block);
        if (got < 0)
        {
            error = "reading the input failed";
            return false;
        }
        // Past the input's end (the tail) the plug-in hears silence.
        std::fill(dry.begin() + got * channels, dry.begin() + block * channels, 0.0f);
        deinterleave(dry, block, buffers);
        if (!job.session.process(buffers, block))
        {
            error = "the plug-in failed to process a block";
            return false;
        }
        interleave(buffers, block, frames);
        blend(dry, job.mix, static_cast<size_t>(block * channels), frames);
        job.meter.add(frames.data(), block * channels);
        if (!job.sink.write(frames.data(), block, error))
            return false;
        done += block;
        progress.update(done);
        if (job.file.onProgress && !job.file.onProgress(done, job.source.sampleRate()))
        {
            error = "stopped";
            return false;
        }
    }
    return true;
}

// The room at another rate than the file's: the input converted to roomRate on the way in, the
// output back to the file's rate on the way out, cut to exactly fileFrames.
bool renderAtRoomRate(const BlockRender& job, int roomRate, int64_t fileFrames, std::string& error)
{
    const int fileRate = job.source.sampleRate();
    ResampledSource heard(job.source);
    ResampledSink back(job.sink, job.meter, job.source.channels(), fileFrames);
    if (!heard.open(roomRate, error) || !back.open(roomRate, fileRate, error))
        return false;
    const auto roomFrames = static_cast<int64_t>(
        std::ceil(static_cast<double>(fileFrames) * roomRate / fileRate));
    LevelMeter before; // the file's rate is metered in `back`
    return renderBlocks({heard, job.session, back, before, job.blockSize, job.mix, roomFrames, job.file}, error)
           && back.finish(error);
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

// Samples beyond full scale are never wrapped: float containers keep them, integer ones clip
// them (libsndfile's clipping is on); either way the user hears of it.
void reportOvers(const std::string& outputPath, int format, const LevelMeter& meter)
{
    if (meter.overs() == 0)
        return;
    const int samples = format & SF_FORMAT_SUBMASK;
    const char* fate = samples == SF_FORMAT_FLOAT
                           ? "kept in the float file; a player or a conversion to integers will clip them"
                       : samples == SF_FORMAT_VORBIS ? "OGG players clip them"
                                                     : "clipped at full scale";
    std::fprintf(stderr,
                 "tessaline: note: %s: %lld samples beyond full scale (peak %+.1f dBFS), %s; "
                 "--normalize 0 or a lower --mix avoids this\n",
                 outputPath.c_str(), static_cast<long long>(meter.overs()), meter.peakDbfs(), fate);
}

// The rendered signal scaled so its peak lands at the level asked for (at or below full scale, so
// nothing is beyond it afterwards).
bool normalizeInto(ScratchSignal& scratch, const LevelMeter& rendered, double dbfs, FrameSink& sink,
                   std::string& error)
{
    if (rendered.peak() == 0.0)
    {
        std::fprintf(stderr, "tessaline: note: the output is silent; there is no peak to normalize\n");
        return scratch.replay(sink, 1.0, error);
    }
    return scratch.replay(sink, std::pow(10.0, dbfs / 20.0) / rendered.peak(), error);
}

void printSummary(const std::string& outputPath, const AudioSource& source, int64_t tail, int format,
                  const RenderOptions& options)
{
    const double rate = source.sampleRate();
    std::string extras;
    char text[96];
    if (options.mix != 1.0)
    {
        std::snprintf(text, sizeof text, ", mix %g%%", options.mix * 100.0);
        extras += text;
    }
    if (options.roomRate > 0 && options.roomRate != source.sampleRate())
    {
        std::snprintf(text, sizeof text, ", room at %d Hz", options.roomRate);
        extras += text;
    }
    if (options.normalize)
    {
        std::snprintf(text, sizeof text, ", peak normalized to %g dBFS", options.normalizeDbfs);
        extras += text;
    }
    std::printf(
        "tessaline: wrote %s (%s, %s, %d Hz, %.2f s = %.2f s input + %.2f s tail%s)\n", outputPath.c_str(),
        describeFormat(format).c_str(), source.channels() == 1 ? "mono" : "stereo", source.sampleRate(),
        static_cast<double>(source.frames() + tail) / rate, static_cast<double>(source.frames()) / rate,
        static_cast<double>(tail) / rate, extras.c_str());
}
} // namespace

bool renderFile(const FileRender& job, const RenderOptions& options, std::string& error)
{
    if (!job.input.empty() && sameFile(job.input, job.output))
    {
        error = "OUT is the same file as IN; choose another output name";
        return false;
    }
    std::unique_ptr<AudioSource> source = openSource(job.input, error);
    if (!source)
        return false;

    PluginSession session;
    std::vector<ParameterEdit> edits;
    if (!session.open(job.bundlePath, error) || !options.room.resolve(session, edits, error))
        return false;
    session.edit(edits);
    const int fileRate = source->sampleRate();
    const int roomRate = options.roomRate > 0 ? options.roomRate : fileRate;
    if (!session.start(source->channels(), roomRate, options.blockSize, error))
        return false;

    // The tail as the room reports it at its rate, in the file's frames.
    const int64_t tail = !options.renderTail ? 0
                         : roomRate == fileRate
                             ? tailFrames(session, fileRate)
                             : static_cast<int64_t>(std::ceil(
                                 static_cast<double>(tailFrames(session, roomRate)) * fileRate / roomRate));
    const int format = outputFormatFor(source->container());
    warnAboutExtension(job.output, format);
    SoundFileSink sink;
    if (!sink.open(job.output, format, source->channels(), source->sampleRate(), error))
        return false;
    ScratchSignal scratch(source->channels());
    LevelMeter rendered;
    FrameSink& first = options.normalize ? static_cast<FrameSink&>(scratch) : sink;
    const BlockRender blocks{*source, session, first, rendered, options.blockSize, options.mix,
                             source->frames() + tail, job};
    if (!(roomRate == fileRate ? renderBlocks(blocks, error)
                               : renderAtRoomRate(blocks, roomRate, source->frames() + tail, error)))
        return false;
    if (options.normalize && !normalizeInto(scratch, rendered, options.normalizeDbfs, sink, error))
        return false;
    if (!sink.finish(error))
        return false;
    printSummary(job.output, *source, tail, format, options);
    if (!options.normalize)
        reportOvers(job.output, format, rendered);
    return true;
}

} // namespace TessalineTool
