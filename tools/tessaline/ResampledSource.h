// A source heard at another sample rate: the frames of the inner source converted on the fly,
// for a render through the room at a rate other than the file's (--room-rate).
#pragma once

#include "AudioSource.h"
#include "RateConverter.h"

#include <string>
#include <vector>

namespace TessalineTool {

class ResampledSource : public AudioSource
{
public:
    explicit ResampledSource(AudioSource& inner)
        : inner(inner)
    {}
    // False with a message when the resampler refuses the rates.
    bool open(int rate, std::string& error);

    int channels() const override { return inner.channels(); }
    int sampleRate() const override { return rate; }
    int64_t frames() const override;
    int container() const override { return inner.container(); }
    int64_t read(float* interleaved, int64_t maxFrames) override;

private:
    AudioSource& inner;
    RateConverter converter;
    int rate = 0;
    std::vector<float> input;
    std::vector<float> ready; // converted frames not yet read
    size_t readyAt = 0;       // samples of `ready` already handed out
    bool ended = false;
};

} // namespace TessalineTool
