// Each kernel set against plain scalar loops, so that the baseline set is checked on machines
// that would otherwise always pick AVX2.
#include "engine/SimdKernels.h"

#include <gtest/gtest.h>

#include <complex>
#include <random>
#include <vector>

namespace {

std::vector<double> noise(std::size_t n, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(rng);
    return v;
}

std::vector<const SimdKernels*> kernelSets()
{
    std::vector<const SimdKernels*> sets{&baselineKernels()};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        sets.push_back(&avx2Kernels());
    return sets;
}

TEST(SimdKernels, DotProductsMatchScalarSums)
{
    for (const SimdKernels* k : kernelSets()) {
        for (int n : {1, 3, 8, 13, 32}) {
            const auto xr = noise(n, 1), xi = noise(n, 2), hr = noise(n, 3), hi = noise(n, 4);
            double expected[4] = {0, 0, 0, 0}, sums[4];
            for (int i = 0; i < n; ++i) {
                expected[0] += xr[i] * hr[i];
                expected[1] += xi[i] * hi[i];
                expected[2] += xr[i] * hi[i];
                expected[3] += xi[i] * hr[i];
            }
            k->dotProducts(xr.data(), xi.data(), hr.data(), hi.data(), n, sums);
            for (int s = 0; s < 4; ++s)
                EXPECT_NEAR(sums[s], expected[s], 1e-14 * n) << n << " " << s;
        }
    }
}

TEST(SimdKernels, ButterflyStagesMatchComplexArithmetic)
{
    using Complex = std::complex<double>;
    for (const SimdKernels* k : kernelSets()) {
        const int count = 32;
        for (int halfSpan : {1, 2, 4, 16}) {
            std::vector<double> buf = noise(2 * count, 5), rr(2 * halfSpan), ri(2 * halfSpan);
            std::vector<Complex> w(halfSpan), ref(count);
            for (int j = 0; j < halfSpan; ++j) {
                w[j] = std::polar(1.0, -0.3 * j);
                rr[2 * j] = rr[2 * j + 1] = w[j].real();
                ri[2 * j] = -w[j].imag();
                ri[2 * j + 1] = w[j].imag();
            }
            for (int i = 0; i < count; ++i)
                ref[i] = Complex(buf[2 * i], buf[2 * i + 1]);
            for (int g = 0; g < count; g += 2 * halfSpan)
                for (int j = 0; j < halfSpan; ++j) {
                    const Complex a = ref[g + j], b = ref[g + j + halfSpan];
                    ref[g + j] = a + b;
                    ref[g + j + halfSpan] = (a - b) * (halfSpan == 1 ? Complex(1.0) : w[j]);
                }
            if (halfSpan == 1)
                k->difLastStage(buf.data(), count);
            else
                k->difStage(buf.data(), count, halfSpan, rr.data(), ri.data());
            for (int i = 0; i < count; ++i)
                ASSERT_LT(std::abs(Complex(buf[2 * i], buf[2 * i + 1]) - ref[i]), 1e-15) << halfSpan << " " << i;
        }
    }
}

} // namespace
