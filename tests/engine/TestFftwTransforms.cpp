// The stage's FFTW transforms against the direct DFT, on the stage's own buffers: zero-padded
// blocks at a block offset inside one AlignedArray (as the stage gathers them), the inverse
// overwriting its bins, and an all-zero sum staying zero through the inverse (what lets skipped
// silence leave the sum alone).
#include "support/StageFixtures.h"
#include "engine/AlignedArray.h"
#include "engine/CFftwTransforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace {

using Complex = std::complex<double>;
using enginetest::noise;

// Bins 0 … n/2 of the n-point DFT of x (x.size() <= n, the rest zero), in long double.
std::vector<Complex> directHalfDft(const std::vector<double>& x, int n)
{
    std::vector<Complex> bins(n / 2 + 1);
    for (int k = 0; k <= n / 2; ++k)
    {
        long double re = 0, im = 0;
        for (std::size_t m = 0; m < x.size(); ++m)
        {
            const long double a = -2.0L * 3.14159265358979323846264338327950288L
                                  * static_cast<long double>((long(k) * long(m)) % n) / n;
            re += x[m] * std::cos(a);
            im += x[m] * std::sin(a);
        }
        bins[k] = Complex(static_cast<double>(re), static_cast<double>(im));
    }
    return bins;
}

class FftwSizes : public ::testing::TestWithParam<int>
{};

TEST_P(FftwSizes, PaddedBlockForwardAndInverseMatchDirectDft)
{
    const int n = GetParam(), c = n / 2;
    CFftwTransforms fft(n);
    ASSERT_EQ(fft.size(), n);
    // Two padded blocks as the stage keeps them; the second one is transformed.
    AlignedArray<double> blocks(2 * static_cast<std::size_t>(n));
    const std::vector<double> x = noise(c, 4321u + n);
    std::copy(x.begin(), x.end(), blocks.get() + n);
    const std::vector<Complex> expected = directHalfDft(x, n);

    const Complex* bins = fft.forward(blocks.get() + n);
    const double bound = 1e-13 * n;
    for (int k = 0; k <= c; ++k)
        ASSERT_LT(std::abs(bins[k] - expected[k]), bound) << "bin " << k;
    for (int i = 0; i < c; ++i)
        ASSERT_EQ(blocks[n + i], x[i]) << "the forward transform changed its input at " << i;

    // The inverse gives n·x back (zeros in the padding), from bins in an array of the stage's.
    AlignedArray<Complex> sum(static_cast<std::size_t>(c) + 1);
    std::copy(bins, bins + c + 1, sum.get());
    const double* y = fft.inverse(sum.get());
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(y[i] / n, i < c ? x[i] : 0.0, 1e-14 * n) << "sample " << i;
}

TEST_P(FftwSizes, ZeroSumStaysZeroThroughTheInverse)
{
    const int n = GetParam(), c = n / 2;
    CFftwTransforms fft(n);
    AlignedArray<Complex> sum(static_cast<std::size_t>(c) + 1);
    for (int round = 0; round < 2; ++round)
    {
        const double* y = fft.inverse(sum.get());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(y[i], 0.0) << "round " << round << ", sample " << i;
        for (int k = 0; k <= c; ++k)
            ASSERT_EQ(sum[k], Complex(0.0, 0.0)) << "round " << round << ", bin " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, FftwSizes, ::testing::Values(4, 8, 16, 256, 4096),
                         [](const ::testing::TestParamInfo<int>& size) {
                             return "N" + std::to_string(size.param);
                         });

} // namespace
