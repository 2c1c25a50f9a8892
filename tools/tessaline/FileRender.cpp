#include "FileRender.h"

#include "OutputTarget.h"
#include "DemoSignal.h"
#include "LevelMeter.h"
#include "OutputFormat.h"
#include "PluginSession.h"
#include "RateLimits.h"
#include "ProgressBar.h"
#include "ResampledSink.h"
#include "ResampledSource.h"
#include "SameFile.h"
#include "ScratchSignal.h"
#include "SoundFileSink.h"
#include "SoundFileSource.h"
#include "StopSignals.h"

#include "HostAudioBuffers.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
// An infinite tail is cut after this long, so a render always ends.
constexpr double kLongestTailSeconds = 30.0;

std::unique_ptr<AudioSource> openSource(const std::string& input, SoundFileSource*& file, std::string& error)
{
    file = nullptr;
    if (input.empty())
        return std::make_unique<DemoSignal>();
    auto opened = std::make_unique<SoundFileSource>();
    if (!opened->open(input, error))
        return nullptr;
    if (opened->sampleRate() < kLowestRate || opened->sampleRate() > kHighestRate)
    {
        error = opened->name() + " is at " + std::to_string(opened->sampleRate())
                + " Hz; tessaline renders files from " + rateRangeText() + " Hz";
        return nullptr;
    }
    file = opened.get();
    return opened;
}

// A cut-off WAV or AIFF renders what it holds; the user hears how much its header promised more.
void warnAboutMissingSound(const SoundFileSource& file)
{
    if (file.missingBytes() <= 0)
        return;
    std::fprintf(stderr,
                 "tessaline: warning: %s is cut off: its header promises %lld bytes of sound more than "
                 "the file holds; rendering the %.2f s it holds\n",
                 file.name().c_str(), static_cast<long long>(file.missingBytes()),
                 static_cast<double>(file.frames()) / file.sampleRate());
}

// The reported tail, with an infinite one (kInfiniteTail, the largest value) cut to the longest.
int64_t tailFrames(const PluginSession& session, int sampleRate)
{
    const auto longest = static_cast<int64_t>(kLongestTailSeconds * sampleRate);
    return std::min<int64_t>(session.tailSamples(), longest);
}

// Moves interleaved frames into the buses' channels and back; mono and stereo, the renders
// there are, get loops of their own that the compiler vectorises.
void deinterleave(const std::vector<float>& frames, int32 block, TessalineHost::HostAudioBuffers& buffers)
{
    const int32 channels = buffers.inputChannels();
    const float* from = frames.data();
    if (channels == 1)
    {
        std::copy_n(from, block, buffers.input(0));
        return;
    }
    if (channels == 2)
    {
        float* left = buffers.input(0);
        float* right = buffers.input(1);
        for (int32 n = 0; n < block; ++n)
        {
            left[n] = from[2 * n];
            right[n] = from[2 * n + 1];
        }
        return;
    }
    for (int32 c = 0; c < channels; ++c)
    {
        float* in = buffers.input(c);
        for (int32 n = 0; n < block; ++n)
            in[n] = from[n * channels + c];
    }
}

void interleave(TessalineHost::HostAudioBuffers& buffers, int32 block, std::vector<float>& frames)
{
    const int32 channels = buffers.outputChannels();
    float* to = frames.data();
    if (channels == 1)
    {
        std::copy_n(buffers.output(0), block, to);
        return;
    }
    if (channels == 2)
    {
        const float* left = buffers.output(0);
        const float* right = buffers.output(1);
        for (int32 n = 0; n < block; ++n)
        {
            to[2 * n] = left[n];
            to[2 * n + 1] = right[n];
        }
        return;
    }
    for (int32 c = 0; c < channels; ++c)
    {
        const float* out = buffers.output(c);
        for (int32 n = 0; n < block; ++n)
            to[n * channels + c] = out[n];
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

// A sample that is not a number (NaN, an infinity) is silence, as the plug-in takes it, on the
// dry path as well; returns how many there were.
int64_t silenceNonFinite(std::vector<float>& frames, size_t count)
{
    // On the bits, without branches: all exponent bits set is an infinity or a NaN.
    int64_t found = 0;
    float* samples = frames.data();
    for (size_t i = 0; i < count; ++i)
    {
        uint32_t bits;
        std::memcpy(&bits, samples + i, sizeof bits);
        const bool bad = (bits & 0x7f800000u) == 0x7f800000u;
        samples[i] = bad ? 0.0f : samples[i];
        found += bad ? 1 : 0;
    }
    return found;
}

struct BlockRender
{
    AudioSource& source;
    SoundFileSource* file; // the source when it is a file, for its messages
    PluginSession& session;
    FrameSink& sink;
    LevelMeter& meter;
    int blockSize;
    double mix;
    int64_t totalFrames;
    const FileRender& request;
};

// What reading the input found on the way.
struct InputFindings
{
    int64_t nonFinite = 0;   // samples that were not numbers, taken as silence
    int64_t shortFrames = 0; // frames the header promised that never came
};

bool renderBlocks(const BlockRender& job, InputFindings& findings, std::string& error)
{
    const int channels = job.source.channels();
    TessalineHost::HostAudioBuffers buffers(channels, channels, job.blockSize);
    std::vector<float> dry(static_cast<size_t>(job.blockSize * channels));
    std::vector<float> frames(dry.size());
    ProgressBar progress(job.request.onProgress ? 0 : job.totalFrames, job.source.sampleRate(),
                         job.request.progressLabel, !job.request.onProgress);
    const int64_t inputFrames = job.source.frames();
    bool inputEnded = false;
    for (int64_t done = 0; done < job.totalFrames;)
    {
        const auto block = static_cast<int32>(std::min<int64_t>(job.blockSize, job.totalFrames - done));
        const int64_t wanted = std::clamp<int64_t>(inputFrames - done, 0, block);
        const int64_t got = inputEnded || wanted == 0 ? 0 : job.source.read(dry.data(), wanted);
        if (got < 0)
        {
            progress.finish();
            char when[32];
            std::snprintf(when, sizeof when, "%.2f s", static_cast<double>(done) / job.source.sampleRate());
            error = "reading " + (job.file ? job.file->name() : std::string("the input")) + " failed after "
                    + when + ": " + (job.file ? job.file->readError() : std::string("no more sound"));
            return false;
        }
        if (got < wanted && job.file)
        {
            // The file ends before its header said: the rest of the input is silence. (A
            // resampled input may deliver fewer frames than asked for while it fills.)
            inputEnded = true;
            findings.shortFrames = inputFrames - (done + got);
        }
        // Past the input's end (the tail) the plug-in hears silence.
        std::fill(dry.begin() + got * channels, dry.begin() + block * channels, 0.0f);
        findings.nonFinite += silenceNonFinite(dry, static_cast<size_t>(got * channels));
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
        if (job.request.onProgress)
            job.request.onProgress(done, job.source.sampleRate());
        if (job.request.stop && job.request.stop->stopped())
        {
            error = "stopped";
            return false;
        }
    }
    return true;
}

// The room at another rate than the file's: the input converted to roomRate on the way in, the
// output back to the file's rate on the way out, cut to exactly fileFrames.
bool renderAtRoomRate(const BlockRender& job, int roomRate, int64_t fileFrames, InputFindings& findings,
                      std::string& error)
{
    const int fileRate = job.source.sampleRate();
    ResampledSource heard(job.source);
    ResampledSink back(job.sink, job.meter, job.source.channels(), fileFrames);
    if (!heard.open(roomRate, error) || !back.open(roomRate, fileRate, error))
        return false;
    const auto roomFrames =
        static_cast<int64_t>(std::ceil(static_cast<double>(fileFrames) * roomRate / fileRate));
    LevelMeter before; // the file's rate is metered in `back`
    return renderBlocks(
               {heard, nullptr, job.session, back, before, job.blockSize, job.mix, roomFrames, job.request},
               findings, error)
           && back.finish(error);
}

void reportFindings(const AudioSource& source, const SoundFileSource* file, const InputFindings& findings)
{
    const std::string name = file ? file->name() : std::string("the input");
    if (findings.shortFrames > 0)
        std::fprintf(stderr,
                     "tessaline: warning: %s ends %.2f s (%lld frames) before its header says; the missing "
                     "part was rendered as silence\n",
                     name.c_str(), static_cast<double>(findings.shortFrames) / source.sampleRate(),
                     static_cast<long long>(findings.shortFrames));
    if (findings.nonFinite > 0)
        std::fprintf(stderr,
                     "tessaline: warning: %s holds %lld samples that are not numbers (NaN or infinite); they "
                     "were taken as silence\n",
                     name.c_str(), static_cast<long long>(findings.nonFinite));
}

// Samples beyond full scale are never wrapped: float containers keep them, integer ones clip
// them (libsndfile's clipping is on); either way the user hears of it.
void reportOvers(const std::string& outputName, int format, const LevelMeter& meter)
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
                 outputName.c_str(), static_cast<long long>(meter.overs()), meter.peakDbfs(), fate);
}

// The rendered signal scaled so its peak lands at the level asked for (at or below full scale, so
// nothing is beyond it afterwards). `normalized` tells whether it was scaled: silence is not.
bool normalizeInto(ScratchSignal& scratch, const LevelMeter& rendered, double dbfs, FrameSink& sink,
                   bool& normalized, std::string& error)
{
    normalized = false;
    if (!std::isfinite(rendered.peak()))
    {
        error = "cannot normalize: the output holds samples that are not numbers";
        return false;
    }
    if (rendered.peak() == 0.0)
    {
        std::fprintf(stderr, "tessaline: note: the output is silent; there is no peak to normalize\n");
        return scratch.replay(sink, 1.0, error);
    }
    normalized = true;
    return scratch.replay(sink, std::pow(10.0, dbfs / 20.0) / rendered.peak(), error);
}

void printSummary(const std::string& outputName, const AudioSource& source, int64_t tail, int format,
                  const RenderOptions& options, bool normalized, bool toStandardOutput)
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
    if (normalized)
    {
        std::snprintf(text, sizeof text, ", peak normalized to %g dBFS", options.normalizeDbfs);
        extras += text;
    }
    // Standard output carries the sound itself then: the summary goes with the messages.
    std::fprintf(
        toStandardOutput ? stderr : stdout,
        "tessaline: wrote %s (%s, %s, %d Hz, %.2f s = %.2f s input + %.2f s tail%s)\n", outputName.c_str(),
        describeFormat(format).c_str(), source.channels() == 1 ? "mono" : "stereo", source.sampleRate(),
        static_cast<double>(source.frames() + tail) / rate, static_cast<double>(source.frames()) / rate,
        static_cast<double>(tail) / rate, extras.c_str());
}
} // namespace

bool renderFile(const FileRender& job, const RenderOptions& options, std::string& error)
{
    if (!job.input.empty() && job.input != "-" && job.output != "-" && sameFile(job.input, job.output))
    {
        error = "OUT is the same file as IN; choose another output name";
        return false;
    }
    OutputTarget target;
    if (!resolveOutputTarget(job.output, target, error))
        return false;
    SoundFileSource* file = nullptr;
    std::unique_ptr<AudioSource> source = openSource(job.input, file, error);
    if (!source)
        return false;
    int format = 0;
    if (!chooseOutputFormat(job.output, options.type, source->container(), format, error))
        return false;
    if (file)
        warnAboutMissingSound(*file);

    PluginSession session;
    std::vector<ParameterEdit> edits;
    if (!session.open(job.bundlePath, error, options.room.className())
        || !options.room.resolve(session, edits, error))
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
    SoundFileSink sink;
    if (!sink.open(target, format, source->channels(), source->sampleRate(), source->frames() + tail, error))
        return false;
    ScratchSignal scratch(source->channels());
    LevelMeter rendered;
    InputFindings findings;
    FrameSink& first = options.normalize ? static_cast<FrameSink&>(scratch) : sink;
    const BlockRender blocks{
        *source, file, session, first, rendered, options.blockSize, options.mix, source->frames() + tail,
        job};
    const bool rendersOk = roomRate == fileRate
                               ? renderBlocks(blocks, findings, error)
                               : renderAtRoomRate(blocks, roomRate, source->frames() + tail, findings, error);
    reportFindings(*source, file, findings);
    if (!rendersOk)
        return false;
    bool normalized = false;
    if (options.normalize
        && !normalizeInto(scratch, rendered, options.normalizeDbfs, sink, normalized, error))
        return false;
    if (!sink.finish(error))
        return false;
    const bool toStandardOutput = target.kind == OutputTarget::Kind::kStandardOutput;
    const std::string outputName = toStandardOutput ? "standard output" : job.output;
    printSummary(outputName, *source, tail, sink.format(), options, normalized, toStandardOutput);
    if (!options.normalize)
        reportOvers(outputName, sink.format(), rendered);
    return true;
}

} // namespace TessalineTool
