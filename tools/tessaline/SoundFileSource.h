// A dry signal read from a sound file (or standard input, "-") through libsndfile.
#pragma once

#include "AudioSource.h"

#include <sndfile.h>

#include <string>
#include <vector>

namespace TessalineTool {

class SoundFileSource : public AudioSource
{
public:
    SoundFileSource() = default;
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    // Opens path ("-": standard input, read whole into a scratch file first); false with a message
    // when it is missing, unreadable, not a supported container (WAV, AIFF, FLAC, OGG) or neither
    // mono nor stereo.
    bool open(const std::string& path, std::string& error);

    int channels() const override { return info.channels; }
    int sampleRate() const override { return info.samplerate; }
    int64_t frames() const override { return info.frames; }
    int container() const override { return info.format; }
    int64_t read(float* interleaved, int64_t maxFrames) override;

    // Why the last read failed (libsndfile's words).
    std::string readError() const;
    // How many bytes of sound the file's header promises beyond what the file holds (a cut-off
    // WAV or AIFF), 0 when it holds them all.
    int64_t missingBytes() const { return missing; }
    // The name messages use: the path, or "standard input".
    const std::string& name() const { return shownName; }

private:
    // Frames read from the file at a time: one system call per read-ahead instead of one per
    // host block (a 512-frame stereo block is a single 4 KiB read).
    static constexpr int64_t kReadAheadFrames = 32768;

    SNDFILE* file = nullptr;
    std::vector<float> ahead;   // frames read from the file and not yet handed out, interleaved
    int64_t aheadAt = 0;        // the first of them
    int64_t aheadCount = 0;     // how many there are
    bool fileExhausted = false; // the file gave no more (its end, or a failed read)
    bool readFailed = false;
    SF_INFO info{};
    int64_t missing = 0;
    std::string shownName;
};

} // namespace TessalineTool
