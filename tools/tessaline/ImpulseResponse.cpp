#include "ImpulseResponse.h"

#include "PluginSession.h"

#include "HostAudioBuffers.h"

#include <algorithm>

namespace TessalineTool {

using namespace Steinberg;

namespace {
constexpr int32 kBlock = 512;
constexpr int64_t kLongestResponse = int64_t{1} << 24; // an endless tail is cut here
} // namespace

bool measureImpulseResponse(const std::string& bundlePath, const RoomSettings& room, int sampleRate,
                            int64_t frames, ImpulseResponse& response, std::string& error)
{
    PluginSession session;
    std::vector<ParameterEdit> edits;
    if (!session.open(bundlePath, error, room.className()) || !room.resolve(session, edits, error))
        return false;
    session.edit(edits);
    if (!session.start(2, sampleRate, kBlock, error))
        return false;
    if (frames <= 0)
        frames = std::min<int64_t>(session.tailSamples(), kLongestResponse);

    TessalineHost::HostAudioBuffers buffers(2, 2, kBlock);
    response.sampleRate = sampleRate;
    response.left.assign(static_cast<size_t>(frames), 0.0f);
    response.right.assign(static_cast<size_t>(frames), 0.0f);
    const int64_t total = kSettleFrames + frames;
    for (int64_t done = 0; done < total;)
    {
        const auto block = static_cast<int32>(std::min<int64_t>(kBlock, total - done));
        for (int32 c = 0; c < 2; ++c)
        {
            float* in = buffers.input(c);
            std::fill(in, in + block, 0.0f);
            if (done <= kSettleFrames && kSettleFrames < done + block)
                in[kSettleFrames - done] = 1.0f;
        }
        if (!session.process(buffers, block))
        {
            error = "the plug-in failed to process a block";
            return false;
        }
        for (int32 n = 0; n < block; ++n)
        {
            const int64_t at = done + n - kSettleFrames;
            if (at >= 0)
            {
                response.left[static_cast<size_t>(at)] = buffers.output(0)[n];
                response.right[static_cast<size_t>(at)] = buffers.output(1)[n];
            }
        }
        done += block;
    }
    return true;
}

} // namespace TessalineTool
