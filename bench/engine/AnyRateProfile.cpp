// Fixed workload for instruction counts under callgrind, repeatable on a shared machine:
// `valgrind --tool=callgrind --toggle-collect='*runRoomSeconds*' anyrate_profile CLASS RATE [SECONDS]`
// counts only SECONDS (default 2) audio seconds of stereo noise through the room, CLASS 0 for the
// original and 1 for the rate-true room, at RATE, not the room's construction or its bank's
// resampling. Divide by SECONDS for the instructions per audio second.
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
[[gnu::noinline]] float runRoomSeconds(CTessaline& fx, const std::vector<float>& in, int rate, int seconds)
{
    float out[2] = {0.0f, 0.0f}, sum = 0.0f;
    for (int s = 0; s < seconds; ++s)
        for (int n = 0; n < rate; ++n)
        {
            fx.processFrame(&in[2 * static_cast<size_t>(n)], out, 2, 2);
            sum += out[0];
        }
    return sum;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: anyrate_profile CLASS(0|1) RATE [SECONDS]\n");
        return 2;
    }
    const bool anyRate = std::atoi(argv[1]) != 0;
    const int rate = std::atoi(argv[2]);
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 2;
    std::unique_ptr<CTessaline> fx(anyRate ? static_cast<CTessaline*>(createAnyRatePlugIn())
                                           : static_cast<CTessaline*>(createPlugIn()));
    fx->postConstruct();
    fx->m_nSampleRate = rate;
    fx->prepare();
    std::vector<float> in(2 * static_cast<size_t>(rate));
    uint32_t seed = 12345u;
    for (float& x : in)
    {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<float>(static_cast<int32_t>(seed)) * (0.5f / 2147483648.0f);
    }
    std::printf("%g\n", static_cast<double>(runRoomSeconds(*fx, in, rate, seconds)));
    return 0;
}
