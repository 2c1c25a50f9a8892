// Two sound files holding the same audio, sample for sample and bit for bit. (Their bytes may
// differ: libsndfile stamps a float WAV's PEAK chunk with the time of writing.)
#pragma once

#include "support/SoundFiles.h"

#include <gtest/gtest.h>

#include <cstring>
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
        || std::memcmp(first.samples.data(), second.samples.data(), first.samples.size() * sizeof(float)) != 0)
        return ::testing::AssertionFailure() << a << " and " << b << " differ in their samples (or are empty)";
    return ::testing::AssertionSuccess();
}

} // namespace CliTest
