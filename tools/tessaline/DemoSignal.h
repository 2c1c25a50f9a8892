// The built-in dry signal: a short percussive phrase synthesised in code, the same on every run,
// so a fresh build can show the room without any sound file at hand.
#pragma once

#include "AudioSource.h"

#include <cstddef>
#include <vector>

namespace TessalineTool {

class DemoSignal : public AudioSource
{
public:
    static constexpr int kSampleRate = 48000;

    DemoSignal();

    int channels() const override { return 2; }
    int sampleRate() const override { return kSampleRate; }
    int64_t frames() const override { return static_cast<int64_t>(samples.size() / 2); }
    int container() const override;
    int64_t read(float* interleaved, int64_t maxFrames) override;

private:
    std::vector<float> samples;
    size_t position = 0; // next frame to read
};

} // namespace TessalineTool
