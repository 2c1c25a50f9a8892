#include "SoundFileSink.h"

#include "OutputFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace TessalineTool {

namespace {
int bytesPerSample(int format)
{
    switch (format & SF_FORMAT_SUBMASK)
    {
    case SF_FORMAT_PCM_24: return 3;
    case SF_FORMAT_FLOAT: return 4;
    default: return 2;
    }
}

// "4294971392 bytes (4.0 GiB)": the bytes themselves, since a size just past a limit rounds to it.
std::string sizeText(uint64_t bytes)
{
    char text[64];
    std::snprintf(text, sizeof text, "%llu bytes (%.1f GiB)", static_cast<unsigned long long>(bytes),
                  static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0));
    return text;
}
} // namespace

uint64_t sizeLimitOf32BitContainers()
{
    if (const char* text = std::getenv("TESSALINE_SIZE_LIMIT"))
    {
        char* end = nullptr;
        const unsigned long long limit = std::strtoull(text, &end, 10);
        if (end && *end == '\0' && limit > 0)
            return limit;
    }
    return 0xFFFFFFFFull;
}

SoundFileSink::~SoundFileSink()
{
    if (file)
        sf_close(file);
}

bool SoundFileSink::open(const OutputTarget& target, int format, int channels, int sampleRate,
                         int64_t expectedFrames, std::string& error)
{
    name = target.path == "-" ? "standard output" : "'" + target.path + "'";
    const uint64_t bytes = static_cast<uint64_t>(expectedFrames > 0 ? expectedFrames : 0)
                               * static_cast<uint64_t>(channels)
                               * static_cast<uint64_t>(bytesPerSample(format))
                           + 4096;
    const int container = format & SF_FORMAT_TYPEMASK;
    const bool big = bytes > sizeLimitOf32BitContainers();
    if (container == SF_FORMAT_AIFF && big)
    {
        error = name + ": an AIFF file holds at most " + sizeText(sizeLimitOf32BitContainers())
                + " and this render needs about " + sizeText(bytes)
                + "; write WAV (it becomes RF64) or W64 instead";
        return false;
    }
    // WAV sizes are 32-bit: a render that will not fit is written as RF64. The size is known ahead
    // (input and tail), so an ordinary render stays a plain WAV file every reader takes.
    const bool wav = container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX;
    written = wav && big ? SF_FORMAT_RF64 | (format & SF_FORMAT_SUBMASK) : format;
    SF_INFO info{};
    info.format = written;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (!sf_format_check(&info))
    {
        error = "cannot write " + describeFormat(format) + " at " + std::to_string(sampleRate) + " Hz with "
                + std::to_string(channels) + " channel(s)";
        return false;
    }
    descriptor = pending.create(target, error);
    channelCount = channels;
    rate = sampleRate;
    framesWritten = 0;
    if (descriptor < 0)
        return false;
    file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE);
    if (!file)
    {
        error = "cannot write " + name + ": " + sf_strerror(nullptr);
        pending.discard();
        return false;
    }
    // No PEAK chunk: it carries the time of writing, and the same render must give the same bytes.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    // Rendered float samples may exceed full scale; an integer container (FLAC) clips them
    // rather than wrapping around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    width = static_cast<size_t>(channels);
    behind.assign(static_cast<size_t>(kWriteBehindFrames) * width, 0.0f);
    behindCount = 0;
    return true;
}

bool SoundFileSink::write(const float* interleaved, int64_t frames, std::string& error)
{
    for (int64_t done = 0; done < frames;)
    {
        const int64_t take = std::min(kWriteBehindFrames - behindCount, frames - done);
        std::copy_n(interleaved + static_cast<size_t>(done) * width, static_cast<size_t>(take) * width,
                    behind.data() + static_cast<size_t>(behindCount) * width);
        behindCount += take;
        done += take;
        if (behindCount == kWriteBehindFrames && !flush(error))
            return false;
    }
    return true;
}

bool SoundFileSink::flush(std::string& error)
{
    const int64_t count = behindCount;
    behindCount = 0;
    if (count > 0 && sf_writef_float(file, behind.data(), count) != count)
    {
        error = "writing " + name + " failed: " + sf_strerror(file);
        return false;
    }
    framesWritten += count;
    return true;
}

bool SoundFileSink::readsBack(std::string& error) const
{
    const int copy = dup(descriptor);
    if (copy < 0 || lseek(copy, 0, SEEK_SET) != 0)
    {
        if (copy >= 0)
            close(copy);
        error = "cannot read " + name + " back";
        return false;
    }
    SF_INFO info{};
    SNDFILE* back = sf_open_fd(copy, SFM_READ, &info, SF_TRUE);
    const bool same = back && info.channels == channelCount && info.samplerate == rate
                      && ((written & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG || info.frames == framesWritten);
    if (back)
        sf_close(back);
    else
        close(copy);
    if (same)
        return true;
    // FLAC, Ogg Opus and AIFF (which reads back a few frames long) have no empty file a reader takes.
    error = framesWritten == 0
                ? "nothing to write: the render is empty (IN holds no sound, and --no-tail "
                  "adds none), and an empty "
                      + describeFormat(written) + " file is not readable; write WAV or W64 for an empty file"
                : name + " does not read back as written; it was not written";
    return false;
}

bool SoundFileSink::finish(std::string& error)
{
    if (!flush(error))
    {
        sf_close(file);
        file = nullptr;
        pending.discard();
        return false;
    }
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0)
    {
        error = "finishing " + name + " failed: " + sf_error_number(closed);
        pending.discard();
        return false;
    }
    if (!readsBack(error))
    {
        pending.discard();
        return false;
    }
    return pending.commit(error);
}

} // namespace TessalineTool
