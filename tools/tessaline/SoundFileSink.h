// Writes the rendered signal through libsndfile into a PendingOutput.
#pragma once

#include "FrameSink.h"
#include "OutputTarget.h"
#include "PendingOutput.h"

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

class SoundFileSink : public FrameSink
{
public:
    SoundFileSink() = default;
    // An unfinished sink closes and discards its temporary file.
    ~SoundFileSink() override;
    SoundFileSink(const SoundFileSink&) = delete;
    SoundFileSink& operator=(const SoundFileSink&) = delete;

    // Starts OUT with the given libsndfile format for about expectedFrames frames; false with a
    // message on failure. A WAV file that may pass 4 GiB is written as RF64; an AIFF file that would
    // not fit its 4 GiB sizes is refused before anything is written.
    bool open(const OutputTarget& target, int format, int channels, int sampleRate, int64_t expectedFrames,
              std::string& error);
    // Appends interleaved frames; false with a message when the disk refuses them.
    bool write(const float* interleaved, int64_t frames, std::string& error) override;
    // Closes the file and moves it to OUT.
    bool finish(std::string& error);

    // The format as written (RF64 where a WAV had to become one).
    int format() const { return written; }

private:
    // Frames gathered before they go to the file: one system call per this many, not per block.
    static constexpr int64_t kWriteBehindFrames = 32768;

    bool flush(std::string& error);
    // The finished file opened again: it must read back as the channels, rate and length written.
    bool readsBack(std::string& error) const;

    PendingOutput pending;
    std::string name; // OUT as messages name it
    SNDFILE* file = nullptr;
    int written = 0;
    int descriptor = -1; // the temporary file's, owned by `pending`
    int channelCount = 0;
    int rate = 0;
    int64_t framesWritten = 0;
    size_t width = 0;          // channels
    std::vector<float> behind; // interleaved frames not yet written
    int64_t behindCount = 0;
};

// The largest size a 32-bit container (WAV, AIFF) holds: 4 GiB, or what the environment variable
// TESSALINE_SIZE_LIMIT gives (bytes; for tests, which cannot afford to write 4 GiB).
uint64_t sizeLimitOf32BitContainers();

} // namespace TessalineTool
