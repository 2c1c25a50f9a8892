#include "ScratchSignal.h"

#include <algorithm>
#include <vector>

namespace TessalineTool {

namespace {
constexpr int64_t kReplayFrames = 8192;
} // namespace

ScratchSignal::ScratchSignal(int channels)
    : channels(channels)
    , file(std::tmpfile())
{}

ScratchSignal::~ScratchSignal()
{
    if (file)
        std::fclose(file);
}

bool ScratchSignal::write(const float* interleaved, int64_t frames, std::string& error)
{
    const auto count = static_cast<size_t>(frames * channels);
    if (!file || std::fwrite(interleaved, sizeof(float), count, file) != count)
    {
        error = "cannot keep the render in a temporary file (is the temporary folder full?)";
        return false;
    }
    framesWritten += frames;
    return true;
}

bool ScratchSignal::replay(FrameSink& sink, double gain, std::string& error)
{
    if (!file || std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0)
    {
        error = "cannot read the render back from its temporary file";
        return false;
    }
    std::vector<float> frames(static_cast<size_t>(kReplayFrames * channels));
    for (int64_t done = 0; done < framesWritten;)
    {
        const int64_t block = std::min(kReplayFrames, framesWritten - done);
        const auto count = static_cast<size_t>(block * channels);
        if (std::fread(frames.data(), sizeof(float), count, file) != count)
        {
            error = "cannot read the render back from its temporary file";
            return false;
        }
        for (size_t i = 0; i < count; ++i)
            frames[i] = static_cast<float>(frames[i] * gain);
        if (!sink.write(frames.data(), block, error))
            return false;
        done += block;
    }
    return true;
}

} // namespace TessalineTool
