// Real FFT against the direct DFT, and the transform properties the convolver relies on.
#include "support/StageFixtures.h"
#include "engine/CSingleTransforms.h"
#include "engine/RFFT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <sstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Complex = std::complex<double>;
using enginetest::noise;

std::vector<Complex> directDft(const std::vector<double>& x)
{
    const int n = static_cast<int>(x.size());
    std::vector<long double> cosines(n), sines(n);
    for (int j = 0; j < n; ++j)
    {
        const long double a = -2.0L * 3.14159265358979323846264338327950288L * j / n;
        cosines[j] = std::cos(a);
        sines[j] = std::sin(a);
    }
    std::vector<Complex> X(n);
    for (int k = 0; k < n; ++k)
    {
        long double re = 0, im = 0;
        for (int m = 0; m < n; ++m)
        {
            const int j = static_cast<int>((long(k) * m) % n);
            re += x[m] * cosines[j];
            im += x[m] * sines[j];
        }
        X[k] = Complex(static_cast<double>(re), static_cast<double>(im));
    }
    return X;
}

class FftSizes : public ::testing::TestWithParam<int>
{};

TEST_P(FftSizes, ForwardMatchesDirectDftAndInverseRestoresSamples)
{
    const int n = GetParam();
    const std::vector<double> x = noise(n, 1234u + n);
    const std::vector<Complex> expected = directDft(x);
    ARFFT fft(n);
    fft.forward(x.data());
    const double bound = 1e-13 * n;
    for (int k = 0; k < n; ++k)
        ASSERT_LT(std::abs(fft.spectrum[k] - expected[k]), bound) << "bin " << k;
    EXPECT_EQ(fft.spectrum[0].imag(), 0.0);
    EXPECT_EQ(fft.spectrum[n / 2].imag(), 0.0);

    // The inverse reads bins 0 … N/2 only and leaves the entries above untouched.
    std::vector<Complex> bins(fft.spectrum, fft.spectrum + n);
    for (int k = n / 2 + 1; k < n; ++k)
        bins[k] = Complex(1e300, -1e300);
    BRFFT inverse(n);
    inverse.inverse(bins.data());
    inverse.normalize();
    for (int k = n / 2 + 1; k < n; ++k)
        ASSERT_EQ(bins[k], Complex(1e300, -1e300));
    for (int i = 0; i < n; ++i)
    {
        ASSERT_NEAR(inverse.timeData[i].real(), x[i], 1e-14 * n) << "sample " << i;
        ASSERT_EQ(inverse.timeData[i].imag(), 0.0);
    }
}

// The convolver's blocks are zero-padded; the shortcut for them must give the same bins.
TEST_P(FftSizes, PaddedForwardMatchesFullForward)
{
    const int n = GetParam();
    std::vector<double> x = noise(n, 99u + n);
    std::fill(x.begin() + n / 2, x.end(), 0.0);
    ARFFT full(n), padded(n);
    full.forward(x.data());
    x.resize(n / 2); // only the first half is given
    padded.forwardHalfPadded(x.data());
    for (int k = 0; k <= n / 2; ++k)
        ASSERT_LT(std::abs(padded.spectrum[k] - full.spectrum[k]), 1e-14 * n) << "bin " << k;
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, FftSizes, ::testing::Values(4, 8, 16, 64, 256, 1024, 4096),
                         [](const ::testing::TestParamInfo<int>& size) {
                             return "N" + std::to_string(size.param);
                         });

// The single-precision transforms a stage runs: zero-padded samples into bins 0 … N/2 and back
// into N·x, each within single-precision round-off of the exact transform (relative to the
// signal's energy, as a float FFT's error grows), bins 0 and N/2 exactly real, and the inverse
// deaf to the imaginary parts of those two bins.
TEST_P(FftSizes, SingleTransformsMatchDirectDftAndRestoreSamples)
{
    const int n = GetParam();
    std::vector<double> x = noise(n, 4321u + n);
    std::fill(x.begin() + n / 2, x.end(), 0.0);
    const std::vector<Complex> expected = directDft(x);
    double energy = 0.0;
    for (double v : x)
        energy += v * v;
    const double binBound = 1e-6 * std::sqrt(energy * n) * (1 + std::log2(n));

    CSingleTransforms fft(n);
    ASSERT_EQ(fft.size(), n);
    const CSingleTransforms::Bin* bins = fft.forwardPadded(x.data());
    std::vector<Complex> wide(static_cast<std::size_t>(n / 2 + 1));
    for (int k = 0; k <= n / 2; ++k)
    {
        wide[k] = Complex(bins[k].real(), bins[k].imag());
        ASSERT_LT(std::abs(wide[k] - expected[k]), binBound) << "bin " << k;
    }
    EXPECT_EQ(bins[0].imag(), 0.0f);
    EXPECT_EQ(bins[n / 2].imag(), 0.0f);

    wide[0].imag(123.0);
    wide[n / 2].imag(-456.0);
    const std::vector<Complex> given(wide);
    const float* y = fft.inverse(wide.data());
    EXPECT_EQ(wide, given); // the caller's bins are left as they were
    const double sampleBound = 1e-6 * std::sqrt(energy) * (1 + std::log2(n));
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(static_cast<double>(y[i]) / n, x[static_cast<std::size_t>(i)], sampleBound)
            << "sample " << i;
}

TEST(Fft, ImpulseConstantAndAlternatingInputs)
{
    const int n = 256;
    ARFFT fft(n);
    std::vector<double> x(n, 0.0);
    x[0] = 1.0;
    fft.forward(x.data());
    for (int k = 0; k < n; ++k)
        ASSERT_LT(std::abs(fft.spectrum[k] - Complex(1.0, 0.0)), 1e-15) << k;

    std::fill(x.begin(), x.end(), 1.0);
    fft.forward(x.data());
    EXPECT_NEAR(fft.spectrum[0].real(), n, 1e-12);
    for (int k = 1; k < n; ++k)
        ASSERT_LT(std::abs(fft.spectrum[k]), 1e-12) << k;

    // Bin N/2 is real and equals Σ (−1)^n·x[n].
    x = noise(n, 7);
    double alternating = 0.0;
    for (int i = 0; i < n; ++i)
        alternating += (i % 2 ? -1.0 : 1.0) * x[i];
    fft.forward(x.data());
    EXPECT_NEAR(fft.spectrum[n / 2].real(), alternating, 1e-12);
    EXPECT_EQ(fft.spectrum[n / 2].imag(), 0.0);
}

TEST(Fft, CosineLandsInItsTwoBins)
{
    const int n = 512;
    ARFFT fft(n);
    for (int m : {1, 5, 100, 255})
    {
        std::vector<double> x(n);
        for (int i = 0; i < n; ++i)
            x[i] = std::cos(2.0 * M_PI * m * i / n);
        fft.forward(x.data());
        for (int k = 0; k < n; ++k)
        {
            const Complex expected = (k == m || k == n - m) ? Complex(n / 2.0, 0.0) : Complex();
            ASSERT_LT(std::abs(fft.spectrum[k] - expected), 1e-11) << "m " << m << " bin " << k;
        }
    }
}

// A wrong count is a caller's fault: checked builds stop at it, a release build leaves the
// transform's buffers as they were.
TEST(Fft, ComplexTransformRejectsWrongCount)
{
    ARFFT fft(16);
    std::vector<Complex> data(8, Complex(1.0, 2.0));
#ifdef NDEBUG
    fft.transform(data.data(), 4);
    for (int k = 0; k < 16; ++k)
        ASSERT_EQ(fft.spectrum[k], Complex());
#else
    EXPECT_DEATH(fft.transform(data.data(), 4), "halfSize");
    EXPECT_DEATH(fft.transform(nullptr, 8), "halfSize");
#endif
    fft.transform(data.data(), 8);
    EXPECT_LT(std::abs(fft.spectrum[0] - Complex(8.0, 16.0)), 1e-15);
}

// Transforms of one size and direction share their tables: one made while another exists gives
// the same bits, and the tables outlive the transform that built them. Forward and inverse
// transforms of a size keep tables of their own (the round trip holds with both alive).
TEST(Fft, TransformsSharingTablesAgreeAndOutliveEachOther)
{
    const int n = 512;
    const std::vector<double> x = noise(n, 77u);
    auto first = std::make_unique<ARFFT>(n);
    ARFFT second(n);
    BRFFT inverse(n);
    first->forwardHalf(x.data());
    const std::vector<Complex> before(first->spectrum, first->spectrum + n / 2 + 1);
    first.reset();
    ARFFT third(n);
    for (ARFFT* fft : {&second, &third})
    {
        fft->forwardHalf(x.data());
        for (int k = 0; k <= n / 2; ++k)
            ASSERT_EQ(fft->spectrum[k], before[static_cast<std::size_t>(k)]) << k;
    }
    std::vector<Complex> bins(before);
    inverse.inverse(bins.data());
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(inverse.timeData[i].real() / n, x[static_cast<std::size_t>(i)], 1e-14 * n) << i;
}

// FFTW's planner is not thread-safe: single-precision transforms built on several threads at
// once (the same sizes and others) plan under one lock, share one plan per size and give the
// same bits as one built alone; the plans outlive the transforms that made them.
TEST(Fft, SingleTransformsBuiltOnManyThreadsAgree)
{
    const int sizes[] = {256, 4096, 512};
    std::vector<std::vector<float>> alone;
    for (int n : sizes)
    {
        const std::vector<double> x = noise(n / 2, 55u + n);
        auto first = std::make_unique<CSingleTransforms>(n);
        const CSingleTransforms::Bin* b = first->forwardPadded(x.data());
        alone.emplace_back(reinterpret_cast<const float*>(b), reinterpret_cast<const float*>(b + n / 2 + 1));
    }
    constexpr int kThreads = 6;
    std::vector<int> mismatches(kThreads, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            int bad = 0;
            for (int round = 0; round < 20; ++round)
            {
                const int which = (t + round) % 3, n = sizes[which];
                const std::vector<double> x = noise(n / 2, 55u + n);
                CSingleTransforms fft(n);
                const float* b = reinterpret_cast<const float*>(fft.forwardPadded(x.data()));
                bad += !std::equal(b, b + n + 2, alone[static_cast<std::size_t>(which)].begin());
            }
            mismatches[static_cast<std::size_t>(t)] = bad;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(kThreads, 0));
}

TEST(Fft, PrintWritesOnlyValidRanges)
{
    ARFFT fft(8);
    BRFFT inverse(8);
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    fft.print(-1, 2);
    fft.print(0, 0);
    fft.print(6, 3);
    inverse.print(7, 2);
    const std::string nothing = captured.str();
    fft.print(6, 2);
    inverse.print(0, 1);
    std::cout.rdbuf(old);
    EXPECT_EQ(nothing, "");
    EXPECT_EQ(captured.str(), "F[6] = (0,0)\nF[7] = (0,0)\nf[0] = (0,0)\n");
}

} // namespace
