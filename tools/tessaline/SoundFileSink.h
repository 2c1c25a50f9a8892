// Writes the rendered signal through libsndfile into a PendingOutput.
#pragma once

#include "FrameSink.h"
#include "PendingOutput.h"

#include <sndfile.h>

#include <cstdint>
#include <string>

namespace TessalineTool {

class SoundFileSink : public FrameSink
{
public:
    SoundFileSink() = default;
    // An unfinished sink closes and discards its temporary file.
    ~SoundFileSink() override;
    SoundFileSink(const SoundFileSink&) = delete;
    SoundFileSink& operator=(const SoundFileSink&) = delete;

    // Starts OUT with the given libsndfile format; false with a message on failure.
    bool open(const std::string& outputPath, int format, int channels, int sampleRate, std::string& error);
    // Appends interleaved frames; false with a message when the disk refuses them.
    bool write(const float* interleaved, int64_t frames, std::string& error) override;
    // Closes the file and moves it to OUT.
    bool finish(std::string& error);

private:
    PendingOutput pending;
    SNDFILE* file = nullptr;
};

} // namespace TessalineTool
