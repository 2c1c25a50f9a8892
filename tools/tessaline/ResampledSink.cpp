#include "ResampledSink.h"

#include <algorithm>

namespace TessalineTool {

bool ResampledSink::open(int fromRate, int toRate, std::string& error)
{
    return converter.open(fromRate, toRate, channels, error);
}

bool ResampledSink::forward(std::string& error)
{
    const auto frames = std::min<int64_t>(remaining, static_cast<int64_t>(converted.size()) / channels);
    if (frames > 0)
    {
        meter.add(converted.data(), frames * channels);
        if (!inner.write(converted.data(), frames, error))
            return false;
        remaining -= frames;
    }
    converted.clear();
    return true;
}

bool ResampledSink::write(const float* interleaved, int64_t frames, std::string& error)
{
    return converter.process(interleaved, static_cast<size_t>(frames), converted, error) && forward(error);
}

bool ResampledSink::finish(std::string& error)
{
    if (!converter.flush(converted, error) || !forward(error))
        return false;
    converted.assign(static_cast<size_t>(std::max<int64_t>(remaining, 0) * channels), 0.0f);
    return forward(error);
}

} // namespace TessalineTool
