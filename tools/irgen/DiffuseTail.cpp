#include "DiffuseTail.h"

#include "EarlyReflections.h"
#include "SplitMix64.h"

#include <algorithm>
#include <cmath>

namespace irgen
{
namespace
{
constexpr int kCell = 4;         // one impulse per cell and ear
constexpr int kSegment = 512;    // band shape re-derived per segment
constexpr double kImpulsesPerSecond = kSampleRate / kCell;

struct TailLevel
{
    BandValues energyPerSecond{};   // per ear, at the reference time
    double reference = 0.0;         // seconds
    double shareFB = 0.5;           // FB's part of the common energy of the late arrivals
};

// Band energy the image sources deliver per second and ear, over the window before the fade,
// brought to the window's centre with the band's decay rate.
TailLevel matchImageLevel(const std::vector<Arrival>& arrivals, const BandValues& rate)
{
    TailLevel level;
    level.reference = 0.5 * (kTailMatchStart + kImageFadeStart);
    const double window = kImageFadeStart - kTailMatchStart;
    double shareSum = 0.0, weightSum = 0.0;
    for (const Arrival& a : arrivals)
    {
        if (a.emission < kTailMatchStart || a.emission >= kImageFadeStart)
            continue;
        double broadband = 0.0;
        for (int b = 0; b < kBands; ++b)
        {
            const double e = 0.5 * (a.gain[0][b] * a.gain[0][b] + a.gain[1][b] * a.gain[1][b]);
            level.energyPerSecond[b] += e * std::exp(2.0 * rate[b] * (a.emission - level.reference)) / window;
            broadband += e;
        }
        shareSum += broadband * a.shareFB * a.shareFB;
        weightSum += broadband * (a.shareFB * a.shareFB + (1.0 - a.shareFB) * (1.0 - a.shareFB));
    }
    if (weightSum > 0.0)
        level.shareFB = shareSum / weightSum;
    return level;
}

// One kernel per component stream: the common part's energy (1 + coherence) / 2 of each ear's,
// split between FB and CF by energy, and the interaural part's (1 - coherence) / 2.
struct SegmentKernels
{
    Kernel fb{}, cf{}, lr{};
};

void segmentKernels(const BandKernels& bands, const TailLevel& level, const BandValues& rate,
                    double t, SegmentKernels& out)
{
    BandValues fb{}, cf{}, lr{};
    for (int b = 0; b < kBands; ++b)
    {
        const double g = std::sqrt(level.energyPerSecond[b] / kImpulsesPerSecond) *
                         std::exp(-rate[b] * (t - level.reference));
        const double common = std::sqrt(0.5 * (1.0 + kTailCoherence[b]));
        fb[b] = g * common * std::sqrt(level.shareFB);
        cf[b] = g * common * std::sqrt(1.0 - level.shareFB);
        lr[b] = g * std::sqrt(0.5 * (1.0 - kTailCoherence[b]));
    }
    bands.combine(fb, out.fb);
    bands.combine(cf, out.cf);
    bands.combine(lr, out.lr);
}
}  // namespace

void renderDiffuseTail(const std::vector<Arrival>& arrivals, const BandKernels& bands,
                       uint64_t seed, PositionTables& tables)
{
    const BandValues rate = diffuseDecayRates();
    const double slowest = *std::min_element(rate.begin(), rate.end());
    const TailLevel level = matchImageLevel(arrivals, rate);
    SplitMix64 noise[3] = {SplitMix64(seed * 3 + 1), SplitMix64(seed * 3 + 2),
                           SplitMix64(seed * 3 + 3)};
    std::vector<double>* targets[3] = {&tables.fb, &tables.cf, &tables.lr};
    SegmentKernels k;

    const int first = static_cast<int>(kImageFadeStart * kSampleRate) / kSegment * kSegment;
    const int last = kResponseLength + kKernelHalf;   // impulses past the end still ring into it
    for (int seg = first; seg < last; seg += kSegment)
    {
        const double centre = (seg + 0.5 * kSegment) / kSampleRate;
        segmentKernels(bands, level, rate, centre, k);
        const Kernel* kernels[3] = {&k.fb, &k.cf, &k.lr};
        for (int cell = seg; cell < seg + kSegment; cell += kCell)
            for (int c = 0; c < 3; ++c)
            {
                const uint64_t bits = noise[c].next();
                const double n = cell + static_cast<double>(bits % kCell);
                const double t = n / kSampleRate;
                const double fade = imageFade(t);
                const double fadeIn = std::sqrt(std::max(0.0, 1.0 - fade * fade));
                const double sign = (bits >> 32) & 1 ? 1.0 : -1.0;
                const double amp = sign * fadeIn * std::exp(-slowest * (t - centre));
                if (amp != 0.0)
                    addKernel(*targets[c], *kernels[c], n, amp);
            }
    }
}

}  // namespace irgen
