// Fixed workload for instruction counting under callgrind, which unlike timing is repeatable
// on a shared machine: `valgrind --tool=callgrind --toggle-collect='*runAudioSeconds*'
// engine_profile SECONDS` counts only the stereo room's processing of SECONDS audio seconds
// (default 2), not its construction.
#include "BenchRoom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace enginebench;

__attribute__((noinline)) double runAudioSeconds(StereoRoom& room, const std::vector<double>& input,
                                                 int seconds)
{
    double out[2] = {0.0, 0.0}, check = 0.0;
    for (int s = 0; s < seconds; ++s)
        for (int n = 0; n < kSampleRate; ++n)
        {
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
    StereoRoom room(curve);
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    // The checksum keeps the work observable and shows at a glance that results did not move.
    std::printf("%d audio s, curve %d, checksum %.17g\n", seconds, curve,
                runAudioSeconds(room, input, seconds));
    return 0;
}
