// The rate the bank's tables are generated for: the generator builds them at this rate, the
// original room plays them sample for sample at any rate, and the rate-true room resamples them
// from it. One constant for both sides, so they can never disagree.
#pragma once

constexpr int kBankSampleRate = 44100;
