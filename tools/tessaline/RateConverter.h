// A stream of interleaved float frames converted from one sample rate to another by libsoxr at
// its very-high-quality setting. The output is aligned with the input (the filter's delay is
// taken out), and flush() delivers the last of it.
#pragma once

#include <soxr.h>

#include <string>
#include <vector>

namespace TessalineTool {

class RateConverter
{
public:
    RateConverter() = default;
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // False with a message when libsoxr refuses the rates.
    bool open(double fromRate, double toRate, int channels, std::string& error);
    // Converts `frames` frames and appends what comes out to `out`; false with a message.
    bool process(const float* interleaved, size_t frames, std::vector<float>& out, std::string& error);
    // Appends everything still held back to `out`; false with a message.
    bool flush(std::vector<float>& out, std::string& error);

private:
    bool run(const float* interleaved, size_t frames, std::vector<float>& out, std::string& error);

    soxr_t resampler = nullptr;
    int channels = 1;
    double ratio = 1.0;
};

} // namespace TessalineTool
