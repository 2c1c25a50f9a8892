// One convolver stage against direct convolution of its response region.
#include "support/SpectrumAccuracy.h"
#include "support/StageFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

using namespace enginetest;

// Small shapes run in full, among them partition counts that are not powers of two; the room's
// two shapes are checked over windows of outputs.
class StageShapes : public ::testing::TestWithParam<StageShape>
{};

TEST_P(StageShapes, MatchesDirectConvolutionAtEveryBlockPhase)
{
    const StageShape s = GetParam();
    const std::vector<double> response = noise(kResponseLength, 11u + s.c, 0.5);
    auto stage = stageWithResponse(s, response);
    const int region = s.P * s.c;
    const long latency = 2L * s.c - 1;
    const std::vector<double> x = noise(static_cast<std::size_t>(region + 4L * s.c + 3 * s.c / 2), 23u + s.c);
    const std::vector<double> y = run(*stage, x);

    // From the start (the rings fill as the input arrives) and in the steady state, two whole
    // blocks each, so that every phase of the block is seen. Round-off is measured against the
    // signal's peak, which the steady state reaches.
    std::vector<std::pair<long, double>> expected;
    double peak = 0.0;
    for (long first : {0L, static_cast<long>(x.size()) - 2L * s.c})
        for (long m = first; m < first + 2L * s.c; ++m)
        {
            expected.emplace_back(m, directSample(x, response.data() + s.start, region, m, latency));
            peak = std::max(peak, std::abs(expected.back().second));
        }
    const double bound = TestSupport::spectrumBound(1e-11, peak);
    for (const auto& [m, value] : expected)
        ASSERT_NEAR(y[m], value, bound) << "sample " << m;
}

INSTANTIATE_TEST_SUITE_P(Shapes, StageShapes,
                         ::testing::Values(StageShape{2, 1, 0}, StageShape{4, 8, 3}, StageShape{16, 4, 100},
                                           StageShape{8, 3, 5}, StageShape{32, 6, 40}, kEarly, kLate),
                         [](const ::testing::TestParamInfo<StageShape>& shape) {
                             return stageName(shape.param);
                         });

TEST(Convolver, ImpulseResponseLatencyAtBothEndsOfTheRegion)
{
    for (const StageShape& s : {kEarly, kLate})
    {
        const int region = s.P * s.c;
        for (int tap : {0, region - 1})
        {
            std::vector<double> response(kResponseLength, 0.0);
            response[s.start + tap] = 1.0;
            auto stage = stageWithResponse(s, response);
            const long impulseAt = 3L * s.c + 5;
            std::vector<double> x(static_cast<std::size_t>(impulseAt + 2L * s.c + region + s.c), 0.0);
            x[impulseAt] = 1.0;
            const std::vector<double> y = run(*stage, x);
            const long expectedAt = impulseAt + 2L * s.c - 1 + tap;
            for (long m = 0; m < static_cast<long>(y.size()); ++m)
                ASSERT_NEAR(y[m], m == expectedAt ? 1.0 : 0.0, TestSupport::spectrumBound(1e-13, 1.0))
                    << "c " << s.c << " tap " << tap << " m " << m;
        }
    }
}

TEST(Convolver, SilentBeforeTheFirstBlockIsSummed)
{
    const std::vector<double> response = noise(kResponseLength, 3);
    auto stage = stageWithResponse(kEarly, response);
    const std::vector<double> y = run(*stage, noise(kEarly.c, 4));
    for (double v : y)
        ASSERT_EQ(v, 0.0);
}

TEST(Convolver, ZeroResponseGivesExactSilence)
{
    const std::vector<double> response(kResponseLength, 0.0);
    auto stage = stageWithResponse(kEarly, response);
    for (double v : run(*stage, noise(20000, 5, 1e6)))
        ASSERT_EQ(v, 0.0);
}

TEST(Convolver, DcAndNyquistSettleAtRegionLength)
{
    for (const StageShape& s : {StageShape{4, 2, 0}, kEarly})
    {
        const int region = s.P * s.c;
        std::vector<double> ones(kResponseLength, 1.0), alternating(kResponseLength);
        for (int i = 0; i < kResponseLength; ++i)
            alternating[i] = (i % 2) ? -1.0 : 1.0;
        const std::size_t n = static_cast<std::size_t>(region + 6 * s.c);

        auto dc = stageWithResponse(s, ones);
        const std::vector<double> yDc = run(*dc, std::vector<double>(n, 1.0));
        auto nyquist = stageWithResponse(s, alternating);
        const std::vector<double> yNy =
            run(*nyquist, std::vector<double>(alternating.begin(), alternating.begin() + n));
        for (std::size_t m = n - 2 * s.c; m < n; ++m)
        {
            ASSERT_NEAR(yDc[m], region, TestSupport::spectrumBound(1e-10 * region, region)) << m;
            // Input and region both alternate: every product is +1 or −1 as one, the sign
            // following the output's own index through the stage latency.
            const double sign = ((m - (2 * s.c - 1)) % 2) ? -1.0 : 1.0;
            ASSERT_NEAR(yNy[m], sign * region, TestSupport::spectrumBound(1e-10 * region, region)) << m;
        }
    }
}

TEST(Convolver, ReadsOnlyItsOwnRegion)
{
    const std::vector<double> x = noise(70000, 8);
    const std::vector<double> base = noise(kResponseLength, 9);
    for (const StageShape& s : {kEarly, kLate})
    {
        std::vector<double> altered = noise(kResponseLength, 10);
        std::copy(base.begin() + s.start, base.begin() + s.start + s.P * s.c, altered.begin() + s.start);
        auto a = stageWithResponse(s, base);
        auto b = stageWithResponse(s, altered);
        EXPECT_EQ(run(*a, x), run(*b, x)) << "c " << s.c;
    }
}

// A change takes full effect P + 2 blocks after it when it falls on a block boundary; a
// change inside block T may leave that block's partition mixed until block T + P + 3. Changes
// come while the stage still renews its spectra (block 10) and once it has settled and stopped
// gathering (block 40): the settled stage must notice the change and pick gathering up again.
TEST(Convolver, ResponseChangeCompleteWithinPPlus2Blocks)
{
    const StageShape s = kEarly;
    const int region = s.P * s.c;
    const std::vector<double> before = noise(kResponseLength, 12);
    const std::vector<double> after = noise(kResponseLength, 13);
    for (long changeBlock : {10L, 40L})
    {
        for (int phase : {0, 37})
        {
            std::vector<double> response = before;
            auto stage = stageWithResponse(s, response);
            const std::vector<double> x = noise(static_cast<std::size_t>(region * 4), 14);
            const long changeAt = changeBlock * s.c + phase;
            const long exactFrom = (changeBlock + s.P + 2 + (phase ? 1 : 0)) * s.c;
            std::vector<double> y(x.size());
            for (long m = 0; m < static_cast<long>(x.size()); ++m)
            {
                if (m == changeAt)
                {
                    ASSERT_EQ(stage->responseSettled(), changeBlock >= s.P + 2);
                    response = after; // same storage: the stage reads the new table from now on
                    stage->combine(); // as every shaping operation ends
                }
                stage->processSample(x[m]);
                y[m] = stage->output();
            }
            std::vector<double> expected;
            double peak = 0.0;
            for (long m = exactFrom; m < exactFrom + 3L * s.c; ++m)
            {
                expected.push_back(directSample(x, after.data(), region, m, 2L * s.c - 1));
                peak = std::max(peak, std::abs(expected.back()));
            }
            for (long m = exactFrom; m < exactFrom + 3L * s.c; ++m)
                ASSERT_NEAR(y[m], expected[static_cast<std::size_t>(m - exactFrom)],
                            TestSupport::spectrumBound(1e-11, peak))
                    << changeBlock << " " << phase << " " << m;
            // The bound is tight for a stage that was renewing its spectra: a block before it the
            // old response still shows. (A settled stage builds what it skipped gathering from the
            // new response, so it may finish sooner.)
            if (phase == 0 && changeBlock < s.P + 2)
            {
                const long m = exactFrom - s.c;
                EXPECT_GT(std::abs(y[m] - directSample(x, after.data(), region, m, 2L * s.c - 1)), 1e-6)
                    << changeBlock;
            }
        }
    }
}

// A response that changes at every block boundary, so that every partition a stage renews
// differs from the spectrum its slot held: the second block of a pair must swap the renewed
// partition's old term in the begun sum for its new one, and add its newest input, or its output
// drifts from the reference. Partition k is gathered in the blocks k, k + P, …, from the
// response of that block, and the product of input block b with it is summed in block b + k + 1:
// there it is the partition gathered last in a block g <= b + k, g = b + k − (b mod P).
TEST(Convolver, ResponseChangingEveryBlockMatchesThePartitionsAsGathered)
{
    struct Case
    {
        StageShape s;
        long checkFrom; // block
        long checkBlocks;
    };
    const std::vector<Case> cases = {{{16, 8, 5}, 0, 30}, {{8, 4, 0}, 0, 24}, {{32, 6, 40}, 0, 24},
                                     {{4, 13, 3}, 0, 60}, {kEarly, 34, 6},    {kLate, 40, 4}};
    constexpr int kVersions = 5; // odd: the versions do not line up with the pairs
    std::vector<std::vector<double>> versions;
    for (int v = 0; v < kVersions; ++v)
        versions.push_back(noise(kResponseLength, 60u + v, 0.5));
    for (const Case& k : cases)
    {
        const StageShape s = k.s;
        SCOPED_TRACE(stageName(s));
        std::vector<double> response = versions[0];
        auto stage = stageWithResponse(s, response);
        const long c = s.c, region = static_cast<long>(s.P) * s.c;
        const long blocks = k.checkFrom + k.checkBlocks;
        const std::vector<double> x = noise(static_cast<std::size_t>(blocks * c), 70u + s.c);
        std::vector<double> y(x.size());
        for (long m = 0; m < static_cast<long>(x.size()); ++m)
        {
            if (m % c == 0 && m > 0)
            {
                response = versions[static_cast<std::size_t>(m / c % kVersions)];
                stage->combine();
            }
            stage->processSample(x[static_cast<std::size_t>(m)]);
            y[static_cast<std::size_t>(m)] = stage->output();
        }
        double peak = 0.0;
        std::vector<double> expected;
        for (long m = k.checkFrom * c; m < static_cast<long>(x.size()); ++m)
        {
            // Runs of taps over which both the input block and the partition stay the same.
            double sum = 0.0;
            for (long j = 0; j < region;)
            {
                const long n = m - (2 * c - 1) - j;
                if (n < 0)
                    break;
                const long b = n / c, gathered = b + j / c - b % s.P;
                const long count = std::min(c - j % c, n % c + 1);
                const double* h = versions[static_cast<std::size_t>(gathered % kVersions)].data() + s.start;
                for (long q = 0; q < count; ++q)
                    sum += x[static_cast<std::size_t>(n - q)] * h[j + q];
                j += count;
            }
            expected.push_back(sum);
            peak = std::max(peak, std::abs(sum));
        }
        const double bound = TestSupport::spectrumBound(1e-11, peak);
        for (long m = k.checkFrom * c; m < static_cast<long>(x.size()); ++m)
            ASSERT_NEAR(y[static_cast<std::size_t>(m)],
                        expected[static_cast<std::size_t>(m - k.checkFrom * c)], bound)
                << "sample " << m << ", block " << m / c;
    }
}

// Volume changes at any sample of a block, several in one block among them: a partition's
// sample i takes the volume in force when its block reached the 16-sample chunk holding i,
// so a block's partition mixes the settings before and after each change at chunk grain.
TEST(Convolver, ChangesInsideBlocksMixThePartitionAtChunkGrain)
{
    const std::vector<StageShape> shapes = {{32, 6, 40}, {64, 4, 3}, {16, 8, 5}};
    const std::vector<double> response = noise(kResponseLength, 91, 0.5);
    for (const StageShape& s : shapes)
    {
        SCOPED_TRACE(stageName(s));
        const long c = s.c, region = static_cast<long>(s.P) * s.c;
        const long blocks = 3 * s.P + 6;
        // Changes in every block (the stage never settles): at its first, second and last
        // sample, mid-chunk, and up to three times in one block.
        std::vector<long> at;
        for (long b = 0; b < blocks; ++b)
        {
            const long picks[4][3] = {{0, -1, -1}, {1, c / 2 + 3, c - 1}, {5, 17, -1}, {c - 1, -1, -1}};
            for (long o : picks[b % 4])
                if (o >= 0)
                    at.push_back(b * c + o);
        }
        auto stage = stageWithResponse(s, response);
        std::vector<double> volume(static_cast<std::size_t>(blocks * c)); // in force at each sample
        const std::vector<double> x = noise(volume.size(), 92);
        std::vector<double> y(x.size());
        double v = 1.0;
        std::size_t next = 0;
        for (long m = 0; m < static_cast<long>(x.size()); ++m)
        {
            for (; next < at.size() && at[next] == m; ++next)
            {
                v = 0.3 + 0.1 * static_cast<double>((m * 7) % 13);
                stage->setVolumes(v, v, v);
            }
            volume[static_cast<std::size_t>(m)] = v;
            stage->processSample(x[static_cast<std::size_t>(m)]);
            y[static_cast<std::size_t>(m)] = stage->output();
        }
        const long chunk = std::min(c, 16L);
        double peak = 0.0;
        std::vector<double> expected(x.size());
        for (long m = 0; m < static_cast<long>(x.size()); ++m)
        {
            double sum = 0.0;
            for (long j = 0; j < region; ++j)
            {
                const long n = m - (2 * c - 1) - j;
                if (n < 0)
                    break;
                const long b = n / c, gathered = b + j / c - b % s.P;
                if (gathered < 0)
                    continue;
                const long reached = gathered * c + (j % c) / chunk * chunk;
                sum += x[static_cast<std::size_t>(n)] * response[static_cast<std::size_t>(s.start + j)]
                       * volume[static_cast<std::size_t>(reached)];
            }
            expected[static_cast<std::size_t>(m)] = sum;
            peak = std::max(peak, std::abs(sum));
        }
        const double bound = TestSupport::spectrumBound(1e-11, peak);
        for (long m = 0; m < static_cast<long>(x.size()); ++m)
            ASSERT_NEAR(y[static_cast<std::size_t>(m)], expected[static_cast<std::size_t>(m)], bound)
                << "sample " << m << ", block " << m / c;
    }
}

TEST(Convolver, ResetSignalRunsBitIdenticalToAFreshStage)
{
    const std::vector<double> response = noise(kResponseLength, 15);
    const std::vector<double> second = noise(80000, 17);
    // A reset after a few blocks (some of the spectra written) and after many (all of them).
    for (const StageShape& s : {kEarly, kLate})
        for (const size_t heard : {size_t(3 * s.c + 17), size_t(50000)})
        {
            auto used = stageWithResponse(s, response);
            used->setAllDecays(3.0, 5.0, 7.0, 48000, 0);
            run(*used, noise(heard, 16));
            used->resetSignal();
            auto fresh = stageWithResponse(s, response);
            fresh->setAllDecays(3.0, 5.0, 7.0, 48000, 0);
            const std::vector<double> a = run(*used, second);
            const std::vector<double> b = run(*fresh, second);
            ASSERT_EQ(a, b) << "c " << s.c << ", " << heard << " samples before the reset";
        }
}

// Two stages taking turns with one set of transforms, sample by sample as a room's ears do,
// each with its own response and input, give bit for bit what each gives alone; a stage of
// another partition size is refused.
TEST(Convolver, StagesSharingTransformsRunAsTheyDoAlone)
{
    for (const StageShape& s : {kEarly, kLate})
    {
        const std::vector<double> left = noise(kResponseLength, 31), right = noise(kResponseLength, 32);
        const std::vector<double> xl = noise(static_cast<std::size_t>(6 * s.c + 77), 33);
        const std::vector<double> xr = noise(xl.size(), 34);
        const std::vector<double> aloneLeft = run(*stageWithResponse(s, left), xl);
        const std::vector<double> aloneRight = run(*stageWithResponse(s, right), xr);
        auto a = stageWithResponse(s, left);
        auto b = stageWithResponse(s, right);
        ASSERT_TRUE(b->shareTransforms(*a));
        std::vector<double> yl, yr;
        for (std::size_t n = 0; n < xl.size(); ++n)
        {
            a->processSample(xl[n]);
            yl.push_back(a->output());
            b->processSample(xr[n]);
            yr.push_back(b->output());
        }
        EXPECT_EQ(yl, aloneLeft) << "c " << s.c;
        EXPECT_EQ(yr, aloneRight) << "c " << s.c;
    }
    const std::vector<double> response = noise(kResponseLength, 35);
    auto early = stageWithResponse(kEarly, response);
    EXPECT_FALSE(early->shareTransforms(*stageWithResponse(kLate, response)));
}

// The two ears shaping together give bit for bit what each ear gives shaping alone, while the
// settings move: changes on block boundaries (between a block's end and the step that
// transforms its partition) and inside blocks, a stretch where the ears' volumes disagree (each
// must then shape its own), and a stretch where only the left ear runs, which leaves the right
// ear's blocks ending one sample ahead of the left's from then on (the left's block end then
// falls between the right's and the step that transforms the right's partition).
TEST(Convolver, EarsShapingTogetherRunAsTheyDoAlone)
{
    struct Change
    {
        long at;  // sample
        int what; // 0 position, 1 volumes, 2 absorptions, 3 decay law, 4 left volumes only
    };
    for (const StageShape& s : {StageShape{16, 8, 40}, kEarly, kLate})
    {
        SCOPED_TRACE(stageName(s));
        const long c = s.c;
        const long length = 14 * c + 301;
        // The right ear idles c - 1 samples: its blocks then end one sample before the left's.
        const long leftOnlyFrom = 10 * c + 3, leftOnlyTo = 11 * c + 2;
        const std::vector<Change> changes = {
            {0, 3},         {c, 0},     {c + 5, 1},  {2 * c, 2},       {2 * c + c / 2, 4},
            {3 * c - 1, 1}, {4 * c, 3}, {5 * c, 0},  {6 * c + 100, 2}, {7 * c, 4},
            {8 * c + 1, 1}, {9 * c, 2}, {12 * c, 4}, {13 * c + 2, 1}};
        auto apply = [&](CPartitionedConvolver& stage, int what, long n, bool left) {
            const double v = 0.2 + 0.05 * static_cast<double>(n % 11);
            switch (what)
            {
            case 0: stage.loadPosition(static_cast<int>(n % 11), 48000); break;
            case 1: stage.setVolumes(v, 1.3 - v, 0.7); break;
            case 2: stage.setAllDecays(3.0 * v, 11.0 * v, 7.0, 48000, static_cast<int>(n / c % 2)); break;
            case 3: stage.setAllDecays(5.0, 2.0, 9.0, 48000, static_cast<int>(n % 2)); break;
            default: stage.setVolumes(left ? v : 0.9, 0.4, 0.5); break;
            }
        };
        auto make = [&](int ear) {
            return std::make_unique<CPartitionedConvolver>(testBank(), 2, 48000, ear, kResponseLength,
                                                           s.P * s.c, s.c, s.start);
        };
        auto pairLeft = make(0), pairRight = make(1), aloneLeft = make(0), aloneRight = make(1);
        ASSERT_TRUE(pairRight->shareShaping(*pairLeft));
        const std::vector<double> xl = noise(static_cast<std::size_t>(length), 81);
        const std::vector<double> xr = noise(xl.size(), 82);
        std::size_t next = 0;
        for (long n = 0; n < length; ++n)
        {
            for (; next < changes.size() && changes[next].at == n; ++next)
            {
                apply(*pairLeft, changes[next].what, n, true);
                apply(*aloneLeft, changes[next].what, n, true);
                apply(*pairRight, changes[next].what, n, false);
                apply(*aloneRight, changes[next].what, n, false);
            }
            const auto i = static_cast<std::size_t>(n);
            pairLeft->processSample(xl[i]);
            aloneLeft->processSample(xl[i]);
            ASSERT_EQ(pairLeft->output(), aloneLeft->output()) << "left, sample " << n;
            if (n >= leftOnlyFrom && n < leftOnlyTo)
                continue;
            pairRight->processSample(xr[i]);
            aloneRight->processSample(xr[i]);
            ASSERT_EQ(pairRight->output(), aloneRight->output()) << "right, sample " << n;
        }
    }
    // Only stages of one geometry pair up.
    auto early = stageWithResponse(kEarly, noise(kResponseLength, 35));
    EXPECT_FALSE(early->shareShaping(*stageWithResponse(kLate, noise(kResponseLength, 35))));
    EXPECT_FALSE(early->shareShaping(*early));
}

TEST(Convolver, NonFiniteInputCountsAsSilence)
{
    const std::vector<double> response = noise(kResponseLength, 18);
    std::vector<double> clean = noise(3000, 19), dirty = clean;
    for (std::size_t i : {100u, 101u, 700u, 2047u})
    {
        clean[i] = 0.0;
        dirty[i] = i % 2 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    }
    auto a = stageWithResponse(kEarly, response);
    auto b = stageWithResponse(kEarly, response);
    EXPECT_EQ(run(*a, clean), run(*b, dirty));
}

// The block end's work runs as steps spread over the next block: never two steps in one
// sample of a large stage, all of them before the sample that completes the block, and the
// same schedule in every block.
TEST(Convolver, BlockEndStepsAreSpreadOverTheNextBlock)
{
    const std::vector<double> response = noise(kResponseLength, 20); // the stage reads it: keep it
    for (const StageShape& s : {kEarly, kLate})
    {
        auto stage = stageWithResponse(s, response);
        std::vector<int> firstRun, run;
        for (long m = 0; m < 4L * s.c; ++m)
        {
            const int before = stage->stepsDone();
            stage->processSample(0.25);
            const int phase = stage->blockPhase(); // 0: this sample completed a block
            if (phase == 0)
                continue;
            if (m < s.c)
            {
                ASSERT_EQ(stage->stepsDone(), stage->stepCount()) << "nothing pending in the first block";
                continue;
            }
            const int ran = stage->stepsDone() - before;
            ASSERT_LE(ran, s.c >= 1024 ? 1 : stage->stepCount()) << "c " << s.c << " m " << m;
            if (phase == s.c - 1)
            {
                ASSERT_EQ(stage->stepsDone(), stage->stepCount())
                    << "c " << s.c << " all steps before the block end";
            }
            run.push_back(ran);
            if (static_cast<int>(run.size()) == s.c - 1)
            {
                if (firstRun.empty())
                {
                    firstRun = run;
                }
                else
                {
                    ASSERT_EQ(run, firstRun) << "c " << s.c;
                }
                run.clear();
            }
        }
        EXPECT_GT(stage->stepCount(), 2) << "the multiply-accumulate itself is a step";
    }
}

// Exact silence of the whole signal state is known without looking at it: from construction,
// and again P + 2 blocks after the last non-zero input sample, from when the output is exactly 0.
TEST(Convolver, SignalIsZeroOnceEveryRememberedBlockIsSilent)
{
    const StageShape s{16, 4, 0};
    const std::vector<double> response = noise(kResponseLength, 21);
    auto stage = stageWithResponse(s, response);
    EXPECT_TRUE(stage->signalIsZero());
    std::vector<double> x = noise(static_cast<std::size_t>(5 * s.c + 3), 22);
    x.resize(static_cast<std::size_t>(20 * s.c), 0.0);
    const long lastSignalBlock = 5; // the block holding the last non-zero sample
    long zeroFrom = -1;
    for (long m = 0; m < static_cast<long>(x.size()); ++m)
    {
        stage->processSample(x[static_cast<std::size_t>(m)]);
        const bool zero = stage->signalIsZero();
        if (m < (lastSignalBlock + 1 + s.P + 2) * s.c - 1)
        {
            ASSERT_FALSE(zero) << m;
        }
        else
        {
            ASSERT_TRUE(zero) << m;
            if (zeroFrom < 0)
                zeroFrom = m;
            ASSERT_EQ(stage->output(), 0.0) << m;
        }
    }
    EXPECT_EQ(zeroFrom, (lastSignalBlock + 1 + s.P + 2) * s.c - 1);
    // The output was still ringing one block before.
    auto again = stageWithResponse(s, response);
    const std::vector<double> y = run(*again, x);
    double tail = 0.0;
    for (long m = zeroFrom - s.c; m < zeroFrom; ++m)
        tail += std::abs(y[static_cast<std::size_t>(m)]);
    EXPECT_GT(tail, 0.0);
    // One non-zero sample ends it at once.
    stage->processSample(1e-3);
    EXPECT_FALSE(stage->signalIsZero());
    stage->resetSignal();
    EXPECT_TRUE(stage->signalIsZero());
}

TEST(Convolver, RejectsGeometryItCannotRun)
{
    struct Case
    {
        int responseLength, stageLength, partitionSize, stageStart;
    };
    for (const Case& k : {Case{kResponseLength, 4096, 100, 0}, Case{kResponseLength, 4096, 1, 0},
                          Case{kResponseLength, 3 * 128 + 64, 128, 0}, Case{kResponseLength, 64, 128, 0},
                          Case{kResponseLength, 65536, 2048, 8192}, Case{kResponseLength, 4096, 128, -1}})
        EXPECT_THROW(CPartitionedConvolver(testBank(), 0, 44100, 0, k.responseLength, k.stageLength,
                                           k.partitionSize, k.stageStart),
                     std::invalid_argument)
            << k.stageLength << " " << k.partitionSize << " " << k.stageStart;
}

} // namespace

// A stage that forgets what it heard, in pieces of any size and at any block phase, goes on
// exactly as a stage that heard only zeros in that time: bit for bit, also while a pair of
// blocks is half summed and the block-end steps are under way.
TEST(Convolver, ForgottenSignalLeavesTheStageAsIfItHeardSilence)
{
    const StageShape shape{16, 5, 0};
    const std::vector<double> response = noise(kResponseLength, 31);
    struct Case
    {
        int heard;   // samples of noise before forgetting (sets the block phase)
        long budget; // bytes per forgetSignal call
    };
    for (const Case c : {Case{37, 1}, Case{48, 100}, Case{83, 4096}, Case{96, 1L << 30}, Case{101, 7}})
    {
        auto forgetting = stageWithResponse(shape, response);
        auto silent = stageWithResponse(shape, response);
        run(*forgetting, noise(static_cast<size_t>(c.heard), 5));
        run(*silent, std::vector<double>(static_cast<size_t>(c.heard), 0.0));
        int calls = 0;
        for (long budget = c.budget; !forgetting->forgetSignal(budget); budget = c.budget)
            ASSERT_LT(++calls, 1 << 20) << "never done";
        const std::vector<double> after = noise(400, 9);
        EXPECT_EQ(run(*forgetting, after), run(*silent, after))
            << "heard " << c.heard << ", budget " << c.budget;
    }
}
