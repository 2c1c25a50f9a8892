// Small sound files for tests, written and read through libsndfile.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct Sound
{
    int format = 0; // libsndfile format of the file
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> samples; // interleaved

    long frames() const { return channels ? static_cast<long>(samples.size()) / channels : 0; }
};

// A deterministic dry test signal: a few clicks and a short noise burst, different per channel.
Sound testSignal(int channels, int sampleRate, long frames);

// Writes sound to path in the given libsndfile format; false when libsndfile refuses.
bool writeSound(const std::string& path, const Sound& sound, int format);

// Reads a whole file; false when it cannot be opened.
bool readSound(const std::string& path, Sound& sound);

// Largest absolute difference between two equally long signals (infinity when lengths differ).
double largestDifference(const Sound& a, const Sound& b);

// Frames first .. first + frames - 1 of a sound.
Sound slice(const Sound& sound, long first, long frames);

// Largest absolute sample.
double peak(const Sound& sound);

} // namespace TestSupport
