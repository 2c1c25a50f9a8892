#include "SoundFileSink.h"

#include "OutputFormat.h"

#include <unistd.h>

namespace TessalineTool {

SoundFileSink::~SoundFileSink()
{
    if (file)
        sf_close(file);
}

bool SoundFileSink::open(const std::string& outputPath, int format, int channels, int sampleRate,
                         std::string& error)
{
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (!sf_format_check(&info))
    {
        error = "cannot write " + describeFormat(format) + " at " + std::to_string(sampleRate) + " Hz with "
                + std::to_string(channels) + " channel(s)";
        return false;
    }
    const int descriptor = pending.create(outputPath, error);
    if (descriptor < 0)
        return false;
    file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_TRUE);
    if (!file)
    {
        close(descriptor);
        error = "cannot write '" + outputPath + "': " + sf_strerror(nullptr);
        pending.discard();
        return false;
    }
    // Rendered float samples may exceed full scale; an integer container (FLAC) clips them
    // rather than wrapping around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool SoundFileSink::write(const float* interleaved, int64_t frames, std::string& error)
{
    if (sf_writef_float(file, interleaved, frames) != frames)
    {
        error = std::string("writing the output failed: ") + sf_strerror(file);
        return false;
    }
    return true;
}

bool SoundFileSink::finish(std::string& error)
{
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0)
    {
        error = std::string("finishing the output failed: ") + sf_error_number(closed);
        pending.discard();
        return false;
    }
    return pending.commit(error);
}

} // namespace TessalineTool
