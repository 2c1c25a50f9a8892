// Each kernel set against plain scalar loops, so that the baseline set is checked on machines
// that would otherwise always pick AVX2.
#include "support/StageFixtures.h"
#include "engine/SimdKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <vector>

namespace {

using enginetest::noise;

std::vector<const SimdKernels*> kernelSets()
{
    std::vector<const SimdKernels*> sets{&baselineKernels()};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        sets.push_back(&avx2Kernels());
    return sets;
}

TEST(SimdKernels, GroupProductsMatchScalarSums)
{
    for (const SimdKernels* k : kernelSets()) {
        for (int n : {1, 2, 3, 32}) {
            // [k][lane] layout, 32-byte aligned as the engine stores it.
            alignas(64) double xr[4 * 32], xi[4 * 32], hr[4 * 32], hi[4 * 32];
            const auto v = noise(4 * 4 * 32, 1u + n);
            for (int i = 0; i < 4 * 32; ++i) {
                xr[i] = v[i];
                xi[i] = v[128 + i];
                hr[i] = v[256 + i];
                hi[i] = v[384 + i];
            }
            double expected[16] = {}, sums[16];
            for (int p = 0; p < n; ++p)
                for (int lane = 0; lane < 4; ++lane) {
                    const int o = 4 * p + lane;
                    expected[lane] += xr[o] * hr[o];
                    expected[4 + lane] += xi[o] * hi[o];
                    expected[8 + lane] += xr[o] * hi[o];
                    expected[12 + lane] += xi[o] * hr[o];
                }
            k->groupProducts(xr, xi, hr, hi, n, sums);
            for (int s = 0; s < 16; ++s)
                EXPECT_NEAR(sums[s], expected[s], 1e-14 * n) << n << " " << s;
            double complexSums[8];
            k->groupComplexSums(xr, xi, hr, hi, n, complexSums);
            for (int lane = 0; lane < 4; ++lane) {
                EXPECT_NEAR(complexSums[2 * lane], expected[lane] - expected[4 + lane], 1e-14 * n) << n;
                EXPECT_NEAR(complexSums[2 * lane + 1], expected[8 + lane] + expected[12 + lane], 1e-14 * n) << n;
            }
        }
    }
}

TEST(SimdKernels, StoreGroupDeinterleavesIntoBothRows)
{
    for (const SimdKernels* k : kernelSets()) {
        for (long mirror : {0L, 8L}) {
            alignas(64) double re[16], im[16];
            std::fill(re, re + 16, -7.0);
            std::fill(im, im + 16, -7.0);
            const double bins[8] = {1, 2, 3, 4, 5, 6, 7, 8};
            k->storeGroup(bins, re, im, mirror);
            for (int lane = 0; lane < 4; ++lane) {
                EXPECT_EQ(re[lane], bins[2 * lane]);
                EXPECT_EQ(im[lane], bins[2 * lane + 1]);
                EXPECT_EQ(re[8 + lane], mirror != 0 ? bins[2 * lane] : -7.0);
                EXPECT_EQ(im[8 + lane], mirror != 0 ? bins[2 * lane + 1] : -7.0);
                EXPECT_EQ(re[4 + lane], -7.0);   // nothing between the rows
            }
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

TEST(SimdKernels, FirstStageOnHalfZeroInputMatchesFullStage)
{
    for (const SimdKernels* k : kernelSets()) {
        for (int count : {2, 4, 32}) {
            const int halfSpan = count / 2;
            std::vector<double> rr(2 * halfSpan), ri(2 * halfSpan);
            for (int j = 0; j < halfSpan; ++j) {
                const std::complex<double> w = std::polar(1.0, -0.4 * j);
                rr[2 * j] = rr[2 * j + 1] = w.real();
                ri[2 * j] = -w.imag();
                ri[2 * j + 1] = w.imag();
            }
            std::vector<double> full = noise(2 * count, 8), out(2 * count, 7.0);
            std::fill(full.begin() + count, full.end(), 0.0);
            k->difFirstStageHalfZero(full.data(), out.data(), count, rr.data(), ri.data());
            if (halfSpan == 1)
                k->difLastStage(full.data(), count);
            else
                k->difStage(full.data(), count, halfSpan, rr.data(), ri.data());
            for (int i = 0; i < 2 * count; ++i)
                ASSERT_NEAR(out[i], full[i], 1e-15) << count << " " << i;
        }
    }
}

// Both split steps against their formulas in complex arithmetic, for every pair of bins.
TEST(SimdKernels, SplitStepsMatchTheirFormulas)
{
    using Complex = std::complex<double>;
    for (const SimdKernels* k : kernelSets()) {
        for (int quarter : {1, 2, 16}) {
            const int half = 2 * quarter;
            std::vector<Complex> w(half + 1);
            for (int j = 0; j <= half; ++j)
                w[j] = std::polar(1.0, -M_PI * j / half);
            w[quarter] = Complex(0.0, -1.0);
            for (int j = 0; j <= quarter; ++j)
                w[half - j] = Complex(-w[j].real(), w[j].imag());
            const std::vector<double> v = noise(2 * (half + 1), 3u + quarter);
            std::vector<Complex> z(half + 1), fwd(half + 1), inv(half + 1);
            std::vector<int> rev(half + 1);
            for (int i = 0; i <= half; ++i) {
                z[i] = Complex(v[2 * i], v[2 * i + 1]);
                rev[i] = (half - i) % half;   // any permutation with rev[half] = rev[0]
            }
            const Complex I(0.0, 1.0);
            for (int b = 0; b <= half; ++b) {
                const Complex A = z[rev[b]], B = z[rev[half - b]];
                fwd[b] = 0.5 * (A + std::conj(B) - w[b] * I * (A - std::conj(B)));
                const Complex a = z[b], c = z[half - b];
                inv[b] = 0.5 * (a + std::conj(c) + std::conj(w[b]) * I * (a - std::conj(c)));
            }
            std::vector<Complex> out(half + 1);
            k->forwardSplit(reinterpret_cast<const double*>(z.data()), rev.data(),
                            reinterpret_cast<const double*>(w.data()), quarter, reinterpret_cast<double*>(out.data()));
            for (int b = 0; b <= half; ++b)
                ASSERT_LT(std::abs(out[b] - fwd[b]), 1e-15) << "forward " << quarter << " " << b;
            k->inverseSplit(reinterpret_cast<const double*>(z.data()), reinterpret_cast<const double*>(w.data()),
                            quarter, reinterpret_cast<double*>(out.data()));
            for (int b = 0; b <= half; ++b)
                ASSERT_LT(std::abs(out[b] - inv[b]), 1e-15) << "inverse " << quarter << " " << b;
        }
    }
}

// Response building against the shaping formula, for runs with and without a scalar tail.
TEST(SimdKernels, EnvelopeAndResponseRunsMatchFormulas)
{
    for (const SimdKernels* k : kernelSets()) {
        for (int count : {1, 5, 16}) {
            std::vector<double> env(count);
            k->hyperbolicEnvelope(4096, 48000.0, 52.57, count, env.data());
            for (int i = 0; i < count; ++i)
                ASSERT_NEAR(env[i], 48000.0 / ((4096.0 + i) * 52.57 + 48000.0), 1e-16) << count << " " << i;

            const std::vector<double> e = noise(3 * count, 11), t = noise(3 * count, 12);
            const double* envs[3] = {e.data(), e.data() + count, e.data() + 2 * count};
            const double* tables[3] = {t.data(), t.data() + count, t.data() + 2 * count};
            const double vol[3] = {0.5, -2.0, 1.5};
            for (bool subtract : {false, true}) {
                std::vector<double> out(count);
                k->shapeResponse(envs, tables, vol, subtract, count, out.data());
                for (int i = 0; i < count; ++i) {
                    const double lr = (envs[1][i] * vol[1]) * tables[1][i];
                    const double expected = ((envs[0][i] * vol[0]) * tables[0][i] + (subtract ? -lr : lr)) +
                                            (envs[2][i] * vol[2]) * tables[2][i];
                    ASSERT_NEAR(out[i], expected, 1e-15) << count << " " << subtract << " " << i;
                }
            }
        }
    }
}

} // namespace
