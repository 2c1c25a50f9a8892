#include "DiffuseTail.h"

#include "ArrivalGains.h"
#include "EarlyReflections.h"
#include "RealFft.h"
#include "RoomAcoustics.h"
#include "SplitMix64.h"

#include <algorithm>
#include <cmath>

namespace irgen {
namespace {
// Frames of kFrame samples every kHop samples under a periodic Hann window (which sums to
// kFrame / kHop / 2 = 2 at this overlap), each filtered by linear convolution in a transform of
// twice the frame; the shaping kernels are far shorter than kFrame / 2.
constexpr int kFrame = 1024;
constexpr int kHop = 256;
constexpr int kFftSize = 2 * kFrame;
constexpr double kWindowSum = 2.0;
constexpr double kNoiseVariance = 1.0 / 3.0; // uniform on [-1, 1)

struct TailLevel
{
    std::vector<double> energyPerSecond; // per ear and bin, at the reference time
    std::vector<double> rate;            // amplitude decay rate per bin, nepers per second
    double reference = 0.0;              // seconds
    double shareFB = 0.5;                // FB's part of the common energy of the late arrivals
};

// Energy per second and ear that the image sources deliver over the window before the fade,
// bin by bin, brought to the window's centre with each bin's decay rate.
TailLevel matchImageLevel(const std::vector<Arrival>& arrivals, const ArrivalGains& gains)
{
    const size_t bins = static_cast<size_t>(gains.bins());
    TailLevel level;
    level.energyPerSecond.assign(bins, 0.0);
    level.rate.resize(bins);
    for (size_t k = 0; k < bins; ++k)
        level.rate[k] = diffuseDecayRate(std::max(gains.frequency(static_cast<int>(k)), 1.0));
    level.reference = 0.5 * (kTailMatchStart + kImageFadeStart);
    const double window = kImageFadeStart - kTailMatchStart;
    std::vector<double> left(bins), right(bins);
    double shareSum = 0.0, weightSum = 0.0;
    for (const Arrival& a : arrivals)
    {
        if (a.emission < kTailMatchStart || a.emission >= kImageFadeStart)
            continue;
        gains.magnitudes(a, left.data(), right.data());
        double broadband = 0.0;
        for (size_t k = 0; k < bins; ++k)
        {
            const double e = 0.5 * (left[k] * left[k] + right[k] * right[k]);
            level.energyPerSecond[k] +=
                e * std::exp(2.0 * level.rate[k] * (a.emission - level.reference)) / window;
            broadband += e;
        }
        shareSum += broadband * a.shareFB * a.shareFB;
        weightSum += broadband * (a.shareFB * a.shareFB + (1.0 - a.shareFB) * (1.0 - a.shareFB));
    }
    if (weightSum > 0.0)
        level.shareFB = shareSum / weightSum;
    return level;
}

// Per-bin amplitude of each component stream at the reference time: the common part carries
// (1 + coherence) / 2 of each ear's energy, split between FB and CF by energy, the interaural
// part (1 - coherence) / 2.
struct StreamGains
{
    std::vector<double> fb, cf, lr;
};

StreamGains streamGains(const TailLevel& level, const ArrivalGains& gains)
{
    const size_t bins = level.energyPerSecond.size();
    StreamGains s{std::vector<double>(bins), std::vector<double>(bins), std::vector<double>(bins)};
    for (size_t k = 0; k < bins; ++k)
    {
        const double coherence = interpolateOctaves(kTailCoherence, gains.frequency(static_cast<int>(k)));
        const double g = std::sqrt(level.energyPerSecond[k] / (kSampleRate * kNoiseVariance));
        const double common = g * std::sqrt(0.5 * (1.0 + coherence));
        s.fb[k] = common * std::sqrt(level.shareFB);
        s.cf[k] = common * std::sqrt(1.0 - level.shareFB);
        s.lr[k] = g * std::sqrt(0.5 * (1.0 - coherence));
    }
    return s;
}

// White noise with the slowest decay and the fade-in applied sample by sample; the frames then
// only add each bin's faster decay on top, which changes little across one frame.
std::vector<double> envelopedNoise(uint64_t seed, int begin, int end, double slowest, double reference)
{
    SplitMix64 random(seed);
    std::vector<double> x(static_cast<size_t>(end - begin));
    for (int n = begin; n < end; ++n)
    {
        const double t = n / kSampleRate;
        const double fade = imageFade(t);
        const double fadeIn = std::sqrt(std::max(0.0, 1.0 - fade * fade));
        const double u = static_cast<double>(random.next() >> 11) * 0x1.0p-52 - 1.0;
        x[static_cast<size_t>(n - begin)] = u * fadeIn * std::exp(-slowest * (t - reference));
    }
    return x;
}

void shapeStream(const std::vector<double>& noise, int begin, const std::vector<double>& gain,
                 const TailLevel& level, double slowest, RealFft& fft, std::vector<double>& target)
{
    const int bins = fft.bins();
    const int size = static_cast<int>(target.size());
    for (int start = begin; start + kFrame <= begin + static_cast<int>(noise.size()); start += kHop)
    {
        double* t = fft.time();
        for (int n = 0; n < kFrame; ++n)
        {
            const double w = 0.5 - 0.5 * std::cos(2.0 * kPi * n / kFrame);
            t[n] = w / kWindowSum * noise[static_cast<size_t>(start - begin + n)];
        }
        std::fill(t + kFrame, t + kFftSize, 0.0);
        fft.forward();
        const double centre = (start + 0.5 * kFrame) / kSampleRate;
        std::complex<double>* s = fft.spectrum();
        for (int k = 0; k < bins; ++k)
        {
            const size_t b = static_cast<size_t>(k);
            s[k] *= gain[b] * std::exp(-(level.rate[b] - slowest) * (centre - level.reference)) / kFftSize;
        }
        fft.inverse();
        // Linear convolution with a zero-phase kernel: the output spans half a frame either side.
        for (int n = -kFrame / 2; n < kFrame + kFrame / 2; ++n)
        {
            const int i = start + n;
            if (i >= 0 && i < size)
                target[static_cast<size_t>(i)] += t[(n + kFftSize) % kFftSize];
        }
    }
}
} // namespace

void renderDiffuseTail(const std::vector<Arrival>& arrivals, uint64_t seed, PositionTables& tables)
{
    const ArrivalGains gains(kFftSize);
    const TailLevel level = matchImageLevel(arrivals, gains);
    const StreamGains streams = streamGains(level, gains);
    const double slowest = *std::min_element(level.rate.begin(), level.rate.end());

    // Frames from before the fade-in to past the end, so the overlap is complete everywhere.
    const int begin = static_cast<int>(kImageFadeStart * kSampleRate) - kFrame;
    const int end = kResponseLength + kFrame;
    RealFft fft(kFftSize);
    const std::vector<double>* gain[3] = {&streams.fb, &streams.cf, &streams.lr};
    std::vector<double>* targets[3] = {&tables.fb, &tables.cf, &tables.lr};
    for (int c = 0; c < 3; ++c)
    {
        const uint64_t streamSeed = seed * 3 + static_cast<uint64_t>(c) + 1;
        const std::vector<double> noise = envelopedNoise(streamSeed, begin, end, slowest, level.reference);
        shapeStream(noise, begin, *gain[c], level, slowest, fft, *targets[c]);
    }
}

} // namespace irgen
