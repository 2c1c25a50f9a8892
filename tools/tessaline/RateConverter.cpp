#include "RateConverter.h"

#include <cmath>

namespace TessalineTool {

RateConverter::~RateConverter()
{
    if (resampler)
        soxr_delete(resampler);
}

bool RateConverter::open(double fromRate, double toRate, int channelCount, std::string& error)
{
    channels = channelCount;
    ratio = toRate / fromRate;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1); // one thread: the same result every time
    soxr_error_t failure = nullptr;
    resampler =
        soxr_create(fromRate, toRate, static_cast<unsigned>(channels), &failure, &io, &quality, &runtime);
    if (!resampler || failure)
    {
        error = std::string("the resampler refuses ") + std::to_string(static_cast<long>(fromRate))
                + " Hz to " + std::to_string(static_cast<long>(toRate))
                + " Hz: " + (failure ? failure : "unknown error");
        return false;
    }
    return true;
}

bool RateConverter::run(const float* interleaved, size_t frames, std::vector<float>& out, std::string& error)
{
    const auto perChannel = static_cast<size_t>(channels);
    size_t consumed = 0;
    for (;;)
    {
        const size_t room =
            static_cast<size_t>(std::ceil(static_cast<double>(frames - consumed) * ratio)) + 1024;
        const size_t before = out.size();
        out.resize(before + room * perChannel);
        size_t used = 0, made = 0;
        const soxr_error_t failure =
            soxr_process(resampler, interleaved ? interleaved + consumed * perChannel : nullptr,
                         frames - consumed, interleaved ? &used : nullptr, out.data() + before, room, &made);
        out.resize(before + made * perChannel);
        if (failure)
        {
            error = std::string("resampling failed: ") + failure;
            return false;
        }
        consumed += used;
        // Input: done when all was taken and the output had space to spare. Flush: when nothing
        // more comes out.
        if (interleaved ? consumed >= frames && made < room : made == 0)
            return true;
    }
}

bool RateConverter::process(const float* interleaved, size_t frames, std::vector<float>& out,
                            std::string& error)
{
    return frames == 0 || run(interleaved, frames, out, error);
}

bool RateConverter::flush(std::vector<float>& out, std::string& error) { return run(nullptr, 0, out, error); }

} // namespace TessalineTool
