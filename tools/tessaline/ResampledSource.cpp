#include "ResampledSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace TessalineTool {

namespace {
constexpr int64_t kChunkFrames = 4096;
}

bool ResampledSource::open(int newRate, std::string& error)
{
    rate = newRate;
    input.resize(static_cast<size_t>(kChunkFrames * inner.channels()));
    return converter.open(inner.sampleRate(), rate, inner.channels(), error);
}

int64_t ResampledSource::frames() const
{
    return static_cast<int64_t>(
        std::llround(static_cast<double>(inner.frames()) * rate / inner.sampleRate()));
}

int64_t ResampledSource::read(float* interleaved, int64_t maxFrames)
{
    const auto perFrame = static_cast<size_t>(inner.channels());
    std::string error;
    while ((ready.size() - readyAt) / perFrame < static_cast<size_t>(maxFrames) && !ended)
    {
        if (readyAt > 0)
        {
            ready.erase(ready.begin(), ready.begin() + static_cast<std::ptrdiff_t>(readyAt));
            readyAt = 0;
        }
        const int64_t got = inner.read(input.data(), kChunkFrames);
        if (got < 0)
            return -1;
        if (got == 0)
        {
            ended = true;
            if (!converter.flush(ready, error))
                return -1;
        }
        else if (!converter.process(input.data(), static_cast<size_t>(got), ready, error))
            return -1;
    }
    const size_t frames = std::min((ready.size() - readyAt) / perFrame, static_cast<size_t>(maxFrames));
    std::memcpy(interleaved, ready.data() + readyAt, frames * perFrame * sizeof(float));
    readyAt += frames * perFrame;
    return static_cast<int64_t>(frames);
}

} // namespace TessalineTool
