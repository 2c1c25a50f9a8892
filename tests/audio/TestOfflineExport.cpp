// An export (the host in kOffline) against playback (kRealtime) of the same bundle class, block
// by block with room controls automated at offsets inside blocks, at block sizes from small to
// large: the export stays within -120 dB of playback (the original room renders in large
// partitions while the response rests), and the rate-true room, which keeps its real-time
// stages when rendering, gives playback's output bit for bit.
#include "AudioFixture.h"

#include "support/Noise.h"

#include <algorithm>
#include <cmath>

namespace AudioTest {
namespace {

// Renders 6.5 s of stereo noise through a fresh instance in one process mode, with room controls
// moved at offsets inside the blocks their moments fall in; interleaved output.
std::vector<float> renderWithMoves(HostModule& module, TUID cid, double rate, int32 block, int32 mode)
{
    HostInstance instance;
    EXPECT_TRUE(instance.create(module.factory(), cid));
    EXPECT_EQ(instance.initialize(), kResultOk);
    EXPECT_EQ(instance.setBusArrangement(SpeakerArr::kStereo), kResultTrue);
    EXPECT_EQ(instance.setupProcessing(rate, block, mode), kResultOk);
    EXPECT_EQ(instance.setActive(true), kResultOk);

    // Position, a volume, an absorption and the decay type, then the gain; two land in one block.
    struct Move
    {
        double second;
        ParamID id;
        ParamValue value;
    };
    const Move moves[] = {{2.0, 1, 0.3}, {2.0, 4, 0.6}, {2.3, 7, 0.8}, {4.4, 8, 1.0}, {4.9, 0, 0.4}};
    const auto frames = static_cast<int32>(6.5 * rate);
    HostAudioBuffers buffers(2, 2, block);
    HostParameterChanges changes;
    std::vector<float> out(2 * static_cast<size_t>(frames));
    uint32_t seed = 9;
    std::size_t next = 0;
    for (int32 start = 0; start < frames; start += block)
    {
        const int32 n = std::min(block, frames - start);
        changes.clear();
        for (; next < std::size(moves) && moves[next].second * rate < start + n; ++next)
        {
            const int32 offset = std::max<int32>(0, static_cast<int32>(moves[next].second * rate) - start);
            changes.addChange(moves[next].id, std::min(offset + 7 * static_cast<int32>(next), n - 1),
                              moves[next].value);
        }
        for (int32 i = 0; i < n; ++i)
        {
            buffers.input(0)[i] = 0.5f * TestSupport::lcgNoise(seed);
            buffers.input(1)[i] = 0.5f * TestSupport::lcgNoise(seed);
        }
        EXPECT_EQ(instance.process(buffers, n, &changes), kResultOk);
        for (int32 i = 0; i < n; ++i)
        {
            out[2 * static_cast<size_t>(start + i)] = buffers.output(0)[i];
            out[2 * static_cast<size_t>(start + i) + 1] = buffers.output(1)[i];
        }
    }
    return out;
}

TEST_P(Bundle, ExportStaysWithin120DecibelsOfPlaybackAtEveryBlockSize)
{
    for (const int32 block : {64, 333, 4096})
    {
        const std::vector<float> live = renderWithMoves(module, cid(), rate(), block, kRealtime);
        const std::vector<float> exported = renderWithMoves(module, cid(), rate(), block, kOffline);
        double worst = 0.0, peak = 0.0;
        for (std::size_t k = 0; k < live.size(); ++k)
        {
            worst = std::max(worst, static_cast<double>(std::fabs(exported[k] - live[k])));
            peak = std::max(peak, static_cast<double>(std::fabs(live[k])));
        }
        ASSERT_GT(peak, 0.01) << block;
        if (GetParam().rateTrue && rate() != kBankSampleRate)
            EXPECT_EQ(worst, 0.0) << "block " << block << ": the rate-true room renders as it plays";
        else
        {
            EXPECT_GT(worst, 0.0) << "block " << block << ": the export never left the real-time stages";
            EXPECT_LE(worst, 1e-6 * peak) << "block " << block << ": worst " << worst << " of peak " << peak;
        }
    }
}

} // namespace
} // namespace AudioTest
