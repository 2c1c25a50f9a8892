// Each kernel set against plain scalar loops, so that the baseline set is checked on machines
// that would otherwise always pick AVX2.
#include "support/StageFixtures.h"
#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using enginetest::noise;

std::vector<const SimdKernels*> kernelSets()
{
    std::vector<const SimdKernels*> sets{&baselineKernels()};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        sets.push_back(&avx2Kernels());
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"))
        sets.push_back(&avx512Kernels());
    return sets;
}

// Bin ranges that exercise every vector width and the scalar tail, over 1, 3 and 32 rows.
TEST(SimdKernels, SpectrumProductsAndPairsMatchComplexSums)
{
    using Complex = std::complex<double>;
    constexpr int c = 64;
    for (const SimdKernels* k : kernelSets())
    {
        for (int partitions : {1, 3, 32})
        {
            // Rows of 2c doubles (real parts, then imaginary parts), 64-byte aligned.
            AlignedArray<double> xs(2 * c * 32), hs(2 * c * 32);
            const auto v = noise(4 * c * 32, 1u + partitions);
            for (int i = 0; i < 2 * c * 32; ++i)
            {
                xs[i] = v[i];
                hs[i] = v[2 * c * 32 + i];
            }
            std::vector<const double*> x, h;
            for (int p = 0; p < partitions; ++p)
            {
                x.push_back(xs.get() + 2 * c * ((p * 7) % 32)); // rows in any order
                h.push_back(hs.get() + 2 * c * p);
            }
            for (auto [first, count] :
                 {std::pair{0, 64}, std::pair{8, 37}, std::pair{16, 3}, std::pair{40, 24}})
            {
                std::vector<double> out(2 * count, -7.0), now(2 * count, -7.0), next(2 * count, -7.0);
                k->spectrumProducts(x.data(), h.data(), partitions, first, c, count, out.data());
                k->spectrumProductPairs(x.data(), h.data(), partitions, first, c, count, now.data(),
                                        next.data());
                for (int i = 0; i < count; ++i)
                {
                    const int b = first + i;
                    auto bin = [&](const double* row) { return Complex(row[b], row[b + c]); };
                    Complex expected, expectedNext;
                    for (int p = 0; p < partitions; ++p)
                    {
                        expected += bin(x[p]) * bin(h[p]);
                        if (p + 1 < partitions)
                            expectedNext +=
                                bin(x[p]) * bin(h[p + 1]); // the window against the next responses
                    }
                    const double tolerance = 1e-14 * partitions;
                    ASSERT_LT(std::abs(Complex(out[2 * i], out[2 * i + 1]) - expected), tolerance)
                        << partitions << " " << first << " " << count << " " << b;
                    ASSERT_LT(std::abs(Complex(now[2 * i], now[2 * i + 1]) - expected), tolerance)
                        << "pairs " << b;
                    ASSERT_LT(std::abs(Complex(next[2 * i], next[2 * i + 1]) - expectedNext), tolerance)
                        << "pairs " << partitions << " " << b;
                }
            }
        }
    }
}

// The single-precision kernels against the complex sums of the same float values, summed in
// double: float sums of float products stay within a few float roundings per partition.
TEST(SimdKernels, SinglePrecisionProductsAndPairsMatchComplexSums)
{
    using Complex = std::complex<double>;
    constexpr int c = 64;
    for (const SimdKernels* k : kernelSets())
    {
        for (int partitions : {1, 3, 32})
        {
            AlignedArray<float> xs(2 * c * 32), hs(2 * c * 32);
            const auto v = noise(4 * c * 32, 1u + partitions);
            for (int i = 0; i < 2 * c * 32; ++i)
            {
                xs[i] = static_cast<float>(v[i]);
                hs[i] = static_cast<float>(v[2 * c * 32 + i]);
            }
            std::vector<const float*> x, h;
            for (int p = 0; p < partitions; ++p)
            {
                x.push_back(xs.get() + 2 * c * ((p * 7) % 32));
                h.push_back(hs.get() + 2 * c * p);
            }
            for (auto [first, count] :
                 {std::pair{0, 64}, std::pair{8, 37}, std::pair{16, 3}, std::pair{32, 32}})
            {
                std::vector<double> out(2 * count, -7.0), now(2 * count, -7.0), next(2 * count, -7.0);
                k->spectrumProductsSingle(x.data(), h.data(), partitions, first, c, count, out.data());
                k->spectrumProductPairsSingle(x.data(), h.data(), partitions, first, c, count, now.data(),
                                              next.data());
                for (int i = 0; i < count; ++i)
                {
                    const int b = first + i;
                    auto bin = [&](const float* row) { return Complex(row[b], row[b + c]); };
                    Complex expected, expectedNext;
                    for (int p = 0; p < partitions; ++p)
                    {
                        expected += bin(x[p]) * bin(h[p]);
                        if (p + 1 < partitions)
                            expectedNext += bin(x[p]) * bin(h[p + 1]);
                    }
                    const double tolerance = 4e-7 * partitions;
                    ASSERT_LT(std::abs(Complex(out[2 * i], out[2 * i + 1]) - expected), tolerance) << b;
                    ASSERT_LT(std::abs(Complex(now[2 * i], now[2 * i + 1]) - expected), tolerance) << b;
                    ASSERT_LT(std::abs(Complex(next[2 * i], next[2 * i + 1]) - expectedNext), tolerance) << b;
                    // A lone term comes out of the pair kernel as it is inside a longer sum's
                    // first step: taking it back out of a sum of it alone leaves exactly zero.
                    if (partitions == 1)
                    {
                        ASSERT_EQ(Complex(now[2 * i], now[2 * i + 1]), Complex(out[2 * i], out[2 * i + 1]));
                    }
                }
            }
        }
        // Bins rounded into float rows, nothing written past the count.
        AlignedArray<float> re(40), im(40);
        for (int i = 0; i < 40; ++i)
            re[i] = im[i] = -7.0f;
        const auto bins = noise(2 * 32, 9u);
        k->splitBinsSingle(bins.data(), 13, re.get(), im.get());
        for (int b = 0; b < 40; ++b)
        {
            EXPECT_EQ(re[b], b < 13 ? static_cast<float>(bins[2 * b]) : -7.0f) << b;
            EXPECT_EQ(im[b], b < 13 ? static_cast<float>(bins[2 * b + 1]) : -7.0f) << b;
        }
    }
}

TEST(SimdKernels, SplitBinsDeinterleavesWithoutWritingPastCount)
{
    for (const SimdKernels* k : kernelSets())
    {
        for (int count : {1, 4, 13, 32})
        {
            AlignedArray<double> re(40), im(40);
            for (int i = 0; i < 40; ++i)
                re[i] = im[i] = -7.0;
            const auto bins = noise(2 * 32, 4u + count);
            k->splitBins(bins.data(), count, re.get(), im.get());
            for (int b = 0; b < 40; ++b)
            {
                EXPECT_EQ(re[b], b < count ? bins[2 * b] : -7.0) << count << " " << b;
                EXPECT_EQ(im[b], b < count ? bins[2 * b + 1] : -7.0) << count << " " << b;
            }
        }
    }
}

// The conversions around the float transforms, against the plain casts and sums the stage would
// otherwise run: the same bits from every set, at lengths that leave every vector tail, and
// nothing written past the end. The values include ones that round up, down and to even, and
// negative zeros.
TEST(SimdKernels, ConversionsAroundTheFloatTransformsGiveThePlainLoopsBits)
{
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const SimdKernels* k : kernelSets())
        for (int count : {1, 3, 7, 8, 17, 64, 129, 258})
        {
            SCOPED_TRACE(count);
            std::vector<double> in =
                noise(static_cast<std::size_t>(count), 9u + static_cast<unsigned>(count));
            for (std::size_t i = 0; i < in.size(); i += 5)
                in[i] = i % 10 == 0 ? -0.0
                                    : 1.0 + std::ldexp(static_cast<double>(i % 3), -24); // ties and near ties
            std::vector<float> narrow(static_cast<std::size_t>(count) + 8, 7.0f);
            k->narrowSamples(in.data(), count, narrow.data());
            for (int i = 0; i < count + 8; ++i)
                ASSERT_TRUE(same(narrow[i], i < count ? static_cast<float>(in[i]) : 7.0f)) << i;

            // The overlap-add of 2c floats into an output block holding the previous tail.
            const int c = count;
            std::vector<float> y(2 * static_cast<std::size_t>(c));
            for (std::size_t i = 0; i < y.size(); ++i)
                y[i] = static_cast<float>(in[i % in.size()] * 3.0) * (i % 4 == 1 ? -1.0f : 1.0f);
            const std::vector<double> previous = noise(2 * static_cast<std::size_t>(c) + 4, 21u);
            std::vector<double> out = previous, expected = previous;
            const double scale = std::ldexp(1.0, -9); // a power of two, as 1/2c is
            for (int n = 0; n < c; ++n)
                expected[n] = static_cast<double>(y[n]) * scale + previous[c + n];
            for (int n = c; n < 2 * c; ++n)
                expected[n] = static_cast<double>(y[n]) * scale;
            k->widenOverlapAdd(y.data(), c, scale, out.data());
            for (std::size_t i = 0; i < out.size(); ++i)
                ASSERT_TRUE(same(out[i], expected[i])) << i << ": " << out[i] << " against " << expected[i];

            std::vector<float> re(static_cast<std::size_t>(count) + 8, -7.0f), im = re;
            k->splitSingleBins(narrow.data(), count / 2, re.data(), im.data());
            for (int b = 0; b < count + 8; ++b)
            {
                ASSERT_EQ(re[b], b < count / 2 ? narrow[2 * b] : -7.0f) << b;
                ASSERT_EQ(im[b], b < count / 2 ? narrow[2 * b + 1] : -7.0f) << b;
            }
        }
}

TEST(SimdKernels, ButterflyStagesMatchComplexArithmetic)
{
    using Complex = std::complex<double>;
    for (const SimdKernels* k : kernelSets())
    {
        const int count = 32;
        for (int halfSpan : {1, 2, 4, 16})
        {
            std::vector<double> buf = noise(2 * count, 5), rr(2 * halfSpan), ri(2 * halfSpan);
            std::vector<Complex> w(halfSpan), ref(count);
            for (int j = 0; j < halfSpan; ++j)
            {
                w[j] = std::polar(1.0, -0.3 * j);
                rr[2 * j] = rr[2 * j + 1] = w[j].real();
                ri[2 * j] = -w[j].imag();
                ri[2 * j + 1] = w[j].imag();
            }
            for (int i = 0; i < count; ++i)
                ref[i] = Complex(buf[2 * i], buf[2 * i + 1]);
            for (int g = 0; g < count; g += 2 * halfSpan)
                for (int j = 0; j < halfSpan; ++j)
                {
                    const Complex a = ref[g + j], b = ref[g + j + halfSpan];
                    ref[g + j] = a + b;
                    ref[g + j + halfSpan] = (a - b) * (halfSpan == 1 ? Complex(1.0) : w[j]);
                }
            if (halfSpan == 1)
                k->difLastStage(buf.data(), count);
            else
                k->difStage(buf.data(), count, halfSpan, rr.data(), ri.data());
            for (int i = 0; i < count; ++i)
                ASSERT_LT(std::abs(Complex(buf[2 * i], buf[2 * i + 1]) - ref[i]), 1e-15)
                    << halfSpan << " " << i;
        }
    }
}

// The fused pass does exactly the arithmetic of two stages, so its results are bit-identical.
TEST(SimdKernels, StagePairEqualsTwoStages)
{
    for (const SimdKernels* k : kernelSets())
    {
        const int count = 64;
        for (int halfSpan : {4, 8, 32})
        {
            std::vector<double> rr(2 * halfSpan), ri(2 * halfSpan), rr2(halfSpan), ri2(halfSpan);
            for (int j = 0; j < halfSpan; ++j)
            {
                const std::complex<double> w = std::polar(1.0, -0.21 * j);
                rr[2 * j] = rr[2 * j + 1] = w.real();
                ri[2 * j] = -w.imag();
                ri[2 * j + 1] = w.imag();
                if (j < halfSpan / 2)
                {
                    const std::complex<double> w2 = std::polar(1.0, -0.37 * j);
                    rr2[2 * j] = rr2[2 * j + 1] = w2.real();
                    ri2[2 * j] = -w2.imag();
                    ri2[2 * j + 1] = w2.imag();
                }
            }
            std::vector<double> fused = noise(2 * count, 9u + halfSpan), twice = fused;
            k->difStagePair(fused.data(), count, halfSpan, rr.data(), ri.data(), rr2.data(), ri2.data());
            k->difStage(twice.data(), count, halfSpan, rr.data(), ri.data());
            k->difStage(twice.data(), count, halfSpan / 2, rr2.data(), ri2.data());
            ASSERT_EQ(fused, twice) << halfSpan;
        }
    }
}

TEST(SimdKernels, FirstStageOnHalfZeroInputMatchesFullStage)
{
    for (const SimdKernels* k : kernelSets())
    {
        for (int count : {2, 4, 32})
        {
            const int halfSpan = count / 2;
            std::vector<double> rr(2 * halfSpan), ri(2 * halfSpan);
            for (int j = 0; j < halfSpan; ++j)
            {
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
    for (const SimdKernels* k : kernelSets())
    {
        for (int quarter : {1, 2, 16})
        {
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
            for (int i = 0; i <= half; ++i)
            {
                z[i] = Complex(v[2 * i], v[2 * i + 1]);
                rev[i] = (half - i) % half; // any permutation with rev[half] = rev[0]
            }
            const Complex I(0.0, 1.0);
            for (int b = 0; b <= half; ++b)
            {
                const Complex A = z[rev[b]], B = z[rev[half - b]];
                fwd[b] = 0.5 * (A + std::conj(B) - w[b] * I * (A - std::conj(B)));
                const Complex a = z[b], c = z[half - b];
                inv[b] = 0.5 * (a + std::conj(c) + std::conj(w[b]) * I * (a - std::conj(c)));
            }
            std::vector<Complex> out(half + 1);
            k->forwardSplit(reinterpret_cast<const double*>(z.data()), rev.data(),
                            reinterpret_cast<const double*>(w.data()), quarter,
                            reinterpret_cast<double*>(out.data()));
            for (int b = 0; b <= half; ++b)
                ASSERT_LT(std::abs(out[b] - fwd[b]), 1e-15) << "forward " << quarter << " " << b;
            k->inverseSplit(reinterpret_cast<const double*>(z.data()),
                            reinterpret_cast<const double*>(w.data()), quarter,
                            reinterpret_cast<double*>(out.data()));
            for (int b = 0; b <= half; ++b)
                ASSERT_LT(std::abs(out[b] - inv[b]), 1e-15) << "inverse " << quarter << " " << b;
        }
    }
}

// Response building against the shaping formula, for runs with and without a scalar tail.
TEST(SimdKernels, EnvelopeAndResponseRunsMatchFormulas)
{
    for (const SimdKernels* k : kernelSets())
    {
        for (int count : {1, 5, 16})
        {
            std::vector<double> env(count);
            k->hyperbolicEnvelope(4096, 48000.0, 52.57, count, env.data());
            for (int i = 0; i < count; ++i)
                ASSERT_NEAR(env[i], 48000.0 / ((4096.0 + i) * 52.57 + 48000.0), 1e-16) << count << " " << i;

            const std::vector<double> e = noise(3 * count, 11), t = noise(3 * count, 12);
            const double* envs[3] = {e.data(), e.data() + count, e.data() + 2 * count};
            const double* tables[3] = {t.data(), t.data() + count, t.data() + 2 * count};
            const double vol[3] = {0.5, -2.0, 1.5};
            for (bool subtract : {false, true})
            {
                std::vector<double> out(count);
                k->shapeResponse(envs, tables, vol, subtract, count, out.data());
                for (int i = 0; i < count; ++i)
                {
                    const double lr = (envs[1][i] * vol[1]) * tables[1][i];
                    const double expected = ((envs[0][i] * vol[0]) * tables[0][i] + (subtract ? -lr : lr))
                                            + (envs[2][i] * vol[2]) * tables[2][i];
                    ASSERT_NEAR(out[i], expected, 1e-15) << count << " " << subtract << " " << i;
                }
            }
        }
    }
}

} // namespace
