#include "DiffuseTail.h"

#include "ArrivalGains.h"
#include "FlatNoise.h"
#include "EarlyReflections.h"
#include "RealFft.h"
#include "RoomAcoustics.h"

#include <algorithm>
#include <cmath>

namespace irgen {
using TessalineFft::RealFft;

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

// Each ear's tail amplitude per bin at the reference time, for noise of variance kNoiseVariance.
std::vector<double> earGains(const TailLevel& level)
{
    std::vector<double> g(level.energyPerSecond.size());
    for (size_t k = 0; k < g.size(); ++k)
        g[k] = std::sqrt(level.energyPerSecond[k] / (kSampleRate * kNoiseVariance));
    return g;
}

double tailCoherence(double hz) { return interpolateOctaves(kTailCoherence, std::max(hz, 1.0)); }

// Noise with the slowest decay and the fade-in applied sample by sample (noise[0] is sample
// `begin`); the frames then only add each bin's faster decay on top, which changes little across
// one frame.
void applyEnvelope(std::vector<double>& noise, int begin, double slowest, double reference)
{
    for (size_t i = 0; i < noise.size(); ++i)
    {
        const double t = (begin + static_cast<int>(i)) / kSampleRate;
        const double fade = imageFade(t);
        const double fadeIn = std::sqrt(std::max(0.0, 1.0 - fade * fade));
        noise[i] *= fadeIn * std::exp(-slowest * (t - reference));
    }
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

// The ears' tails are made first, as flat noise with the diffuse field's interaural coherence
// shaped to the design, so that what each ear hears follows the design band by band. The
// components follow from them: LR = (left - right) / 2 and the common part C = (left + right) / 2,
// split as FB = s C + q D and CF = (1 - s) C - q D with s FB's share of the energy, D a third
// stream of C's spectrum and q = sqrt(s (1 - s)), which makes FB and CF incoherent with the
// energies s and 1 - s of C's while they still add up to C exactly.
void renderDiffuseTail(const std::vector<Arrival>& arrivals, uint64_t seed, PositionTables& tables)
{
    const ArrivalGains gains(kFftSize);
    const TailLevel level = matchImageLevel(arrivals, gains);
    const double slowest = *std::min_element(level.rate.begin(), level.rate.end());
    const std::vector<double> ear = earGains(level);
    std::vector<double> common(ear.size());
    for (size_t k = 0; k < ear.size(); ++k)
        common[k] = ear[k] * std::sqrt(0.5 * (1.0 + tailCoherence(gains.frequency(static_cast<int>(k)))));

    // Frames from before the fade-in to past the end, so the overlap is complete everywhere.
    const int begin = static_cast<int>(kImageFadeStart * kSampleRate) - kFrame;
    const int end = kResponseLength + kFrame;
    const FlatNoise flat(end - begin);
    std::vector<double> noise[3];
    noise[0] = flat.independent(seed * 3 + 1);
    noise[1] = flat.coherentWith(noise[0], tailCoherence, seed * 3 + 2);
    noise[2] = flat.independent(seed * 3 + 3);
    const std::vector<double>* gain[3] = {&ear, &ear, &common};
    std::vector<double> shaped[3];
    RealFft fft(kFftSize);
    for (int c = 0; c < 3; ++c)
    {
        shaped[c].assign(kResponseLength, 0.0);
        applyEnvelope(noise[c], begin, slowest, level.reference);
        shapeStream(noise[c], begin, *gain[c], level, slowest, fft, shaped[c]);
    }
    const double s = level.shareFB, q = std::sqrt(s * (1.0 - s));
    for (size_t i = 0; i < static_cast<size_t>(kResponseLength); ++i)
    {
        const double left = shaped[0][i], right = shaped[1][i], spare = shaped[2][i];
        const double c = 0.5 * (left + right);
        tables.fb[i] += s * c + q * spare;
        tables.cf[i] += (1.0 - s) * c - q * spare;
        tables.lr[i] += 0.5 * (left - right);
    }
}

} // namespace irgen
