// Fixed workload for instruction counting under callgrind, which unlike timing is repeatable
// on a shared machine: `valgrind --tool=callgrind --toggle-collect='*runAudioSeconds*'
// engine_profile SECONDS` counts only the stereo room's processing of SECONDS audio seconds
// (default 2), not its construction. `engine_profile SECONDS CURVE 1` moves every room setting
// once per 64 frames, as fully automated controls do.
#include "BenchRoom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace enginebench;

// Every setting a new value, as a host block of automated controls gives them (kept out of the
// frame loop, which it would otherwise crowd).
__attribute__((noinline)) void automate(StereoRoom& room, long block)
{
    const int curve = static_cast<int>(block % 2);
    const double a = static_cast<double>(block % 100) / 7.0;
    for (CPartitionedConvolver* stage : room.stages())
    {
        stage->loadPosition(static_cast<int>(block % 11), kSampleRate);
        stage->setVolumes(0.5 + 0.01 * static_cast<double>(block % 50), 1.0, 0.8);
        stage->setDecayLR(a, kSampleRate, curve);
        stage->setDecayFB(a + 1.0, kSampleRate, curve);
        stage->setDecayCF(a + 2.0, kSampleRate, curve);
    }
}

__attribute__((noinline)) double runAudioSeconds(StereoRoom& room, const std::vector<double>& input,
                                                 int seconds, bool automated)
{
    double out[2] = {0.0, 0.0}, check = 0.0;
    long block = 0;
    for (int s = 0; s < seconds; ++s)
        for (int n = 0; n < kSampleRate; ++n)
        {
            if (automated && n % 64 == 0)
                automate(room, block++);
            room.processFrame(&input[2 * n], out);
            check += out[0] + out[1];
        }
    return check;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    const int curve = argc > 2 ? std::atoi(argv[2]) : 1;
    const bool automated = argc > 3 && std::atoi(argv[3]) != 0;
    StereoRoom room(curve);
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    // The checksum keeps the work observable and shows at a glance that results did not move.
    std::printf("%d audio s, curve %d, checksum %.17g\n", seconds, curve,
                runAudioSeconds(room, input, seconds, automated));
    return 0;
}
