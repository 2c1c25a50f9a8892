// Where the dry signal of a render comes from: a sound file or the built-in demo.
#pragma once

#include <cstdint>

namespace TessalineTool {

class AudioSource
{
public:
    virtual ~AudioSource() = default;

    virtual int channels() const = 0;
    virtual int sampleRate() const = 0;
    virtual int64_t frames() const = 0;
    // libsndfile major format (SF_FORMAT_WAV, ...) the output container follows.
    virtual int container() const = 0;

    // Reads up to maxFrames interleaved frames; returns how many were read (0 at the end, -1 on a
    // read error).
    virtual int64_t read(float* interleaved, int64_t maxFrames) = 0;
};

} // namespace TessalineTool
