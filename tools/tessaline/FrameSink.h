// Where rendered interleaved frames go: the output file, or a scratch copy kept for a second pass.
#pragma once

#include <cstdint>
#include <string>

namespace TessalineTool {

class FrameSink
{
public:
    virtual ~FrameSink() = default;
    // Appends interleaved frames; false with a message when they cannot be kept.
    virtual bool write(const float* interleaved, int64_t frames, std::string& error) = 0;
};

} // namespace TessalineTool
