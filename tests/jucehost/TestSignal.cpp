#include "TestSignal.h"

#include <cstdint>

namespace jucehost {
namespace {

// A tiny fixed generator (xorshift32) so the signal never depends on a library's RNG.
class NoiseSource
{
public:
    explicit NoiseSource(uint32_t seed)
        : m_uState(seed != 0 ? seed : 1u)
    {}

    float next()
    {
        m_uState ^= m_uState << 13;
        m_uState ^= m_uState >> 17;
        m_uState ^= m_uState << 5;
        // Top 24 bits to [-1, 1).
        return static_cast<float>(m_uState >> 8) / 8388608.0f - 1.0f;
    }

private:
    uint32_t m_uState;
};

struct Burst
{
    double startSeconds;
    double lengthSeconds;
    float gain;
};

// Bursts of different lengths and levels; the last one leaves a second of tail.
constexpr Burst kBursts[] = {
    {0.05, 0.020, 0.50f},
    {0.60, 0.005, 0.90f},
    {1.10, 0.040, 0.25f},
    {1.80, 0.010, 0.70f},
};

} // namespace

juce::AudioBuffer<float> makeTestSignal(double sampleRate, double seconds)
{
    const int numSamples = static_cast<int>(sampleRate * seconds);
    juce::AudioBuffer<float> signal(2, numSamples);
    signal.clear();

    for (int channel = 0; channel < 2; ++channel)
    {
        NoiseSource noise(0x7e55a11eu + static_cast<uint32_t>(channel) * 0x9e3779b9u);
        float* out = signal.getWritePointer(channel);
        for (const Burst& burst : kBursts)
        {
            const int start = static_cast<int>(burst.startSeconds * sampleRate);
            const int length = static_cast<int>(burst.lengthSeconds * sampleRate);
            for (int i = start; i < start + length && i < numSamples; ++i)
                out[i] = burst.gain * noise.next();
        }
    }
    return signal;
}

} // namespace jucehost
