// A whole render kept in an anonymous temporary file, so that it can be scaled once its peak is
// known (--normalize) without holding minutes of audio in memory. The file disappears with the
// object or the process, whatever way the process ends.
#pragma once

#include "FrameSink.h"

#include <cstdio>

namespace TessalineTool {

class ScratchSignal : public FrameSink
{
public:
    explicit ScratchSignal(int channels);
    ~ScratchSignal() override;
    ScratchSignal(const ScratchSignal&) = delete;
    ScratchSignal& operator=(const ScratchSignal&) = delete;

    bool write(const float* interleaved, int64_t frames, std::string& error) override;

    // Sends everything written so far, multiplied by gain, on to sink.
    bool replay(FrameSink& sink, double gain, std::string& error);

private:
    int channels;
    std::FILE* file = nullptr;
    int64_t framesWritten = 0;
};

} // namespace TessalineTool
