// Two sound files holding the same audio, sample for sample and bit for bit. (Their bytes may
// differ: libsndfile stamps a float WAV's PEAK chunk with the time of writing.)
#pragma once

#include "support/SoundFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace CliTest {

inline ::testing::AssertionResult sameSound(const std::string& a, const std::string& b)
{
    TestSupport::Sound first, second;
    if (!TestSupport::readSound(a, first) || !TestSupport::readSound(b, second))
        return ::testing::AssertionFailure() << "cannot read " << a << " or " << b;
    if (first.channels != second.channels || first.sampleRate != second.sampleRate
        || first.samples.size() != second.samples.size())
        return ::testing::AssertionFailure() << a << " and " << b << " differ in shape";
    if (first.samples.empty()
        || std::memcmp(first.samples.data(), second.samples.data(), first.samples.size() * sizeof(float))
               != 0)
        return ::testing::AssertionFailure()
               << a << " and " << b << " differ in their samples (or are empty)";
    return ::testing::AssertionSuccess();
}

// The same bytes, apart from the time stamp in a WAV or AIFF PEAK chunk ("PEAK", size, version,
// time stamp, then the peaks).
inline ::testing::AssertionResult sameBytesButPeakTime(const std::string& a, const std::string& b)
{
    auto bytesOf = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string text = bytes.str();
        const size_t peak = text.find("PEAK");
        if (peak != std::string::npos && peak < 512 && peak + 16 <= text.size())
            text.replace(peak + 12, 4, 4, '\0');
        return text;
    };
    const std::string first = bytesOf(a);
    if (first.empty() || first != bytesOf(b))
        return ::testing::AssertionFailure() << a << " and " << b << " differ beyond the PEAK time stamp";
    return ::testing::AssertionSuccess();
}

} // namespace CliTest
