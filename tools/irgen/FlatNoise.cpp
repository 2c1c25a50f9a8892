#include "FlatNoise.h"

#include "RealFft.h"
#include "Room.h"
#include "SplitMix64.h"

#include <cmath>
#include <complex>

namespace irgen {
using TessalineFft::RealFft;

namespace {
// Frames of 4096 samples (93 ms, 10.8 Hz bins: about two bins across the lowest third-octave
// band that matters) every quarter frame, under a sine window for analysis and again for
// synthesis, whose product (the periodic Hann window) sums to 2 at this overlap.
constexpr int kFrame = 4096;
constexpr int kHop = kFrame / 4;
constexpr double kOverlapGain = 2.0;
// Passes of the alternating projection; the frames' spread stops shrinking after a few.
constexpr int kPasses = 8;
constexpr double kVariance = 1.0 / 3.0;

std::vector<double> sineWindow()
{
    std::vector<double> w(kFrame);
    for (int n = 0; n < kFrame; ++n)
        w[static_cast<size_t>(n)] = std::sin(kPi * n / kFrame);
    return w;
}

std::vector<double> uniformNoise(uint64_t seed, int length)
{
    SplitMix64 random(seed);
    std::vector<double> x(static_cast<size_t>(length));
    for (double& v : x)
        v = static_cast<double>(random.next() >> 11) * 0x1.0p-52 - 1.0;
    return x;
}

// Analyses x frame by frame, lets `change` rework each frame's spectrum (given the frame's start),
// and overlap-adds the result.
template <typename Change>
std::vector<double> reworkFrames(const std::vector<double>& x, RealFft& fft,
                                 const std::vector<double>& window, Change change)
{
    std::vector<double> out(x.size(), 0.0);
    for (size_t start = 0; start + kFrame <= x.size(); start += kHop)
    {
        for (size_t n = 0; n < kFrame; ++n)
            fft.time()[n] = window[n] * x[start + n];
        fft.forward();
        change(fft.spectrum(), start);
        fft.inverse();
        for (size_t n = 0; n < kFrame; ++n)
            out[start + n] += window[n] * fft.time()[n] / (kFrame * kOverlapGain);
    }
    return out;
}

// Alternating projections onto flat frame magnitudes and onto consistent signals.
std::vector<double> flatten(std::vector<double> x, RealFft& fft, const std::vector<double>& window)
{
    // Expected magnitude of a bin of a windowed frame: the variance times the window's energy.
    const double target = std::sqrt(kVariance * 0.5 * kFrame);
    for (int pass = 0; pass < kPasses; ++pass)
        x = reworkFrames(x, fft, window, [&](std::complex<double>* s, size_t) {
            for (int k = 0; k < fft.bins(); ++k)
            {
                const double m = std::abs(s[k]);
                s[k] = m > 0.0 ? s[k] * (target / m) : 0.0;
            }
        });
    return x;
}

// Margins of a frame either side (and a hop more at the end), so every kept sample lies under
// the full overlap.
int paddedLength(int length) { return length + 2 * kFrame + kHop; }

std::vector<double> trimmed(const std::vector<double>& x, int length)
{
    return std::vector<double>(x.begin() + kFrame, x.begin() + kFrame + length);
}
} // namespace

FlatNoise::FlatNoise(int length)
    : m_nLength(length)
{}

std::vector<double> FlatNoise::independent(uint64_t seed) const
{
    RealFft fft(kFrame);
    const std::vector<double> window = sineWindow();
    return trimmed(flatten(uniformNoise(seed, paddedLength(m_nLength)), fft, window), m_nLength);
}

std::vector<double> FlatNoise::coherentWith(const std::vector<double>& partner,
                                            double (*coherence)(double hz), uint64_t seed) const
{
    RealFft fft(kFrame);
    const std::vector<double> window = sineWindow();
    const int padded = paddedLength(m_nLength);
    std::vector<double> shared(static_cast<size_t>(padded), 0.0);
    std::copy(partner.begin(), partner.end(), shared.begin() + kFrame);
    const std::vector<double> own = uniformNoise(seed, padded);
    std::vector<double> mix(static_cast<size_t>(fft.bins()));
    for (int k = 0; k < fft.bins(); ++k)
        mix[static_cast<size_t>(k)] = coherence(k * kSampleRate / kFrame);
    // Each frame: coherence times the partner's spectrum plus the rest from the stream's own noise,
    // both of the same expected power; flattening then keeps the phases, and with them the
    // coherence.
    RealFft other(kFrame);
    std::vector<double> x = reworkFrames(own, fft, window, [&](std::complex<double>* s, size_t start) {
        for (size_t n = 0; n < kFrame; ++n)
            other.time()[n] = window[n] * shared[start + n];
        other.forward();
        for (size_t k = 0; k < mix.size(); ++k)
            s[k] = mix[k] * other.spectrum()[k] + std::sqrt(1.0 - mix[k] * mix[k]) * s[k];
    });
    return trimmed(flatten(x, fft, window), m_nLength);
}

} // namespace irgen
