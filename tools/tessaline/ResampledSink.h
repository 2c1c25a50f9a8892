// Rendered frames taken back to the file's sample rate before they go on to the real sink, cut
// or padded with silence to exactly the length the file's rate asks for, and metered there.
#pragma once

#include "FrameSink.h"
#include "LevelMeter.h"
#include "RateConverter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

class ResampledSink : public FrameSink
{
public:
    // `meter` hears what reaches `inner`; `frames`: the length to deliver at toRate.
    ResampledSink(FrameSink& inner, LevelMeter& meter, int channels, int64_t frames)
        : inner(inner)
        , meter(meter)
        , channels(channels)
        , remaining(frames)
    {}
    bool open(int fromRate, int toRate, std::string& error);
    bool write(const float* interleaved, int64_t frames, std::string& error) override;
    // The last converted frames, then silence up to the length asked for.
    bool finish(std::string& error);

private:
    bool forward(std::string& error);

    FrameSink& inner;
    LevelMeter& meter;
    RateConverter converter;
    int channels;
    int64_t remaining;
    std::vector<float> converted;
};

} // namespace TessalineTool
