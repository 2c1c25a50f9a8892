#include "support/SoundFiles.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace TestSupport {

Sound testSignal(int channels, int sampleRate, long frames)
{
    Sound sound;
    sound.channels = channels;
    sound.sampleRate = sampleRate;
    sound.samples.assign(static_cast<size_t>(frames * channels), 0.0f);
    uint32_t state = 0x1234567u;
    for (long n = 0; n < frames; ++n)
        for (int c = 0; c < channels; ++c)
        {
            state = state * 1664525u + 1013904223u;
            const double noise = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
            const double burst =
                n < frames / 4
                    ? 0.4 * noise * std::exp(-static_cast<double>(n) / (static_cast<double>(frames) / 16.0))
                    : 0.0;
            const double click = (n % (frames / 3 + 1) == static_cast<long>(c) * 7) ? 0.8 : 0.0;
            sound.samples[static_cast<size_t>(n * channels + c)] = static_cast<float>(burst + click);
        }
    return sound;
}

bool writeSound(const std::string& path, const Sound& sound, int format)
{
    SF_INFO info{};
    info.format = format;
    info.channels = sound.channels;
    info.samplerate = sound.sampleRate;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t written = sf_writef_float(file, sound.samples.data(), sound.frames());
    sf_close(file);
    return written == sound.frames();
}

bool readSound(const std::string& path, Sound& sound)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    sound.format = info.format;
    sound.channels = info.channels;
    sound.sampleRate = info.samplerate;
    sound.samples.assign(static_cast<size_t>(info.frames * info.channels), 0.0f);
    const sf_count_t got = sf_readf_float(file, sound.samples.data(), info.frames);
    sf_close(file);
    sound.samples.resize(static_cast<size_t>(got * info.channels));
    return true;
}

double largestDifference(const Sound& a, const Sound& b)
{
    if (a.samples.size() != b.samples.size())
        return std::numeric_limits<double>::infinity();
    double largest = 0.0;
    for (size_t i = 0; i < a.samples.size(); ++i)
        largest = std::fmax(largest, std::fabs(static_cast<double>(a.samples[i]) - b.samples[i]));
    return largest;
}

Sound slice(const Sound& sound, long first, long frames)
{
    Sound part = sound;
    part.samples.assign(sound.samples.begin() + first * sound.channels,
                        sound.samples.begin() + (first + frames) * sound.channels);
    return part;
}

double peak(const Sound& sound)
{
    double largest = 0.0;
    for (float s : sound.samples)
        largest = std::fmax(largest, std::fabs(static_cast<double>(s)));
    return largest;
}

} // namespace TestSupport
