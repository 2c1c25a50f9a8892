#include "DemoSignal.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace TessalineTool {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kStep = 0.125;  // a sixteenth note at 120 beats per minute
constexpr int kSteps = 32;       // two bars
constexpr double kRingOut = 0.5; // silence after the last hit, seconds

enum class Voice
{
    Kick,
    Snare,
    Hat,
    Block
};

struct Hit
{
    int step;
    Voice voice;
    double pan; // -1 left .. +1 right
    double level;
};

// Two bars: kick and snare on the beats, closed hats between them, wood blocks wandering
// across the stereo field so the room's position cues are audible; the phrase ends on a lone
// kick and snare so the decay can be heard on its own.
const Hit kPhrase[] = {
    {0, Voice::Kick, 0.0, 1.0},    {2, Voice::Hat, 0.3, 0.35},    {4, Voice::Snare, -0.1, 0.8},
    {6, Voice::Hat, 0.3, 0.3},     {7, Voice::Block, -0.8, 0.5},  {8, Voice::Kick, 0.0, 1.0},
    {10, Voice::Hat, 0.3, 0.35},   {11, Voice::Block, 0.8, 0.45}, {12, Voice::Snare, -0.1, 0.8},
    {14, Voice::Hat, 0.3, 0.3},    {15, Voice::Hat, 0.3, 0.2},    {16, Voice::Kick, 0.0, 1.0},
    {18, Voice::Hat, 0.3, 0.35},   {19, Voice::Block, -0.5, 0.5}, {20, Voice::Snare, -0.1, 0.8},
    {22, Voice::Block, 0.5, 0.5},  {23, Voice::Block, 0.9, 0.4},  {24, Voice::Kick, 0.0, 1.0},
    {26, Voice::Snare, -0.1, 0.9},
};

// Deterministic white noise in -1 .. 1 (xorshift32).
class Noise
{
public:
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state = 0x2545F491u;
};

// One sample of a voice, t seconds after its onset.
double voiceSample(Voice voice, double t, Noise& noise, double& previousNoise)
{
    const double white = noise.next();
    switch (voice)
    {
    case Voice::Kick:
    {
        // Pitch falls from 150 to 48 Hz; the phase is the integral of that sweep.
        const double phase = 2.0 * kPi * (48.0 * t + (150.0 - 48.0) * 0.03 * (1.0 - std::exp(-t / 0.03)));
        return std::sin(phase) * std::exp(-t / 0.18);
    }
    case Voice::Snare:
        return 0.6 * white * std::exp(-t / 0.07)
               + 0.5 * std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t / 0.04);
    case Voice::Hat:
    {
        // First difference of white noise: energy pushed to the top of the spectrum.
        const double bright = white - previousNoise;
        previousNoise = white;
        return 0.5 * bright * std::exp(-t / 0.025);
    }
    case Voice::Block: return std::sin(2.0 * kPi * 1250.0 * t) * std::exp(-t / 0.035);
    }
    return 0.0;
}

void addHit(std::vector<float>& out, const Hit& hit, Noise& noise)
{
    const auto start = static_cast<size_t>(hit.step * kStep * DemoSignal::kSampleRate);
    const size_t frames = out.size() / 2;
    const size_t length =
        std::min(frames - std::min(frames, start), static_cast<size_t>(0.6 * DemoSignal::kSampleRate));
    // Constant-power pan.
    const double angle = (hit.pan + 1.0) * kPi / 4.0;
    const double left = std::cos(angle) * hit.level;
    const double right = std::sin(angle) * hit.level;
    double previousNoise = 0.0;
    for (size_t n = 0; n < length; ++n)
    {
        const double s =
            voiceSample(hit.voice, static_cast<double>(n) / DemoSignal::kSampleRate, noise, previousNoise);
        out[2 * (start + n)] += static_cast<float>(s * left);
        out[2 * (start + n) + 1] += static_cast<float>(s * right);
    }
}

// Scales the phrase so its loudest sample sits at -6 dBFS.
void normalise(std::vector<float>& samples)
{
    float peak = 0.0f;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    if (peak > 0.0f)
        for (float& s : samples)
            s *= 0.5f / peak;
}
} // namespace

DemoSignal::DemoSignal()
{
    const auto frames = static_cast<size_t>((kSteps * kStep + kRingOut) * kSampleRate);
    samples.assign(frames * 2, 0.0f);
    Noise noise;
    for (const Hit& hit : kPhrase)
        addHit(samples, hit, noise);
    normalise(samples);
}

int DemoSignal::container() const { return SF_FORMAT_WAV; }

int64_t DemoSignal::read(float* interleaved, int64_t maxFrames)
{
    const size_t available = samples.size() / 2 - position;
    const size_t count = std::min(available, static_cast<size_t>(std::max<int64_t>(maxFrames, 0)));
    std::memcpy(interleaved, samples.data() + 2 * position, count * 2 * sizeof(float));
    position += count;
    return static_cast<int64_t>(count);
}

} // namespace TessalineTool
