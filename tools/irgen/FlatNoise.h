// Noise for the diffuse tail whose short-time spectrum follows its design rather than chance.
//
// White noise is flat only on average: over the tenth of a second or so that a decaying tail
// gives a listener to judge a narrow bass band by, that band holds only a few independent
// values, and its level wanders by several dB from one band to the next. Flat noise has random
// phases but holds the magnitude of every bin of every 93 ms frame at its expectation; it is
// made from white noise by alternating projections (set the magnitudes, resynthesise, analyse
// again), which leaves a consistent signal whose frames stay within a fraction of a dB of flat.
// It still sounds and looks like noise; only the chance wandering of its band levels is gone.
#pragma once

#include <cstdint>
#include <vector>

namespace irgen {
class FlatNoise
{
public:
    // Streams of `length` samples of variance 1/3 (that of uniform noise on [-1, 1)).
    explicit FlatNoise(int length);

    // A stream of its own, deterministic for a given seed.
    std::vector<double> independent(uint64_t seed) const;

    // A stream whose coherence with `partner` (flat noise of the same length) is
    // coherence(f) at every frequency f in Hz at kSampleRate; the rest of it comes from `seed`.
    std::vector<double> coherentWith(const std::vector<double>& partner, double (*coherence)(double hz),
                                     uint64_t seed) const;

private:
    int m_nLength;
};

} // namespace irgen
