// A dry signal read from a sound file through libsndfile.
#pragma once

#include "AudioSource.h"

#include <sndfile.h>

#include <string>

namespace TessalineTool {

class SoundFileSource : public AudioSource
{
public:
    SoundFileSource() = default;
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    // Opens path; false with a message when it is missing, unreadable, not a supported
    // container (WAV, AIFF, FLAC, OGG) or neither mono nor stereo.
    bool open(const std::string& path, std::string& error);

    int channels() const override { return info.channels; }
    int sampleRate() const override { return info.samplerate; }
    int64_t frames() const override { return info.frames; }
    int container() const override { return info.format & SF_FORMAT_TYPEMASK; }
    int64_t read(float* interleaved, int64_t maxFrames) override;

private:
    SNDFILE* file = nullptr;
    SF_INFO info{};
};

} // namespace TessalineTool
