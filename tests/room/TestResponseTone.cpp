// How the embedded bank sounds: third-octave measures of each ear at the plug-in's default
// setting played at 48 kHz. A source filtered twice (a dull direct sound), octave bands split by
// hard filters (a shelf in the tail), or band-wise decay rates with hard edges all show here.
#include "ToneMeasures.h"
#include "room/ResponseBank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {
using irgen::BandLevels;
using irgen::ListeningSetting;

constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;

// The measuring tool itself: flat in, flat out; a hard shelf in, a step and a bent trend out.
std::vector<double> shelvedImpulse(double edgeHz, double treble)
{
    // A zero-phase impulse whose magnitude jumps from 1 to `treble` at edgeHz, centred in 4096
    // samples.
    const int n = 4096;
    std::vector<double> x(n, 0.0);
    for (int k = 0; k <= n / 2; ++k)
    {
        const double g = k * kRate / n < edgeHz ? 1.0 : treble;
        const double weight = (k == 0 || k == n / 2) ? 1.0 : 2.0;
        for (int i = 0; i < n; ++i)
            x[static_cast<size_t>(i)] += weight * g * std::cos(2.0 * kPi * k * (i - n / 2) / n) / n;
    }
    return x;
}

TEST(ToneMeasures, FlatResponseReadsFlatAndAShelfReadsAsAStep)
{
    std::vector<double> impulse(256, 0.0);
    impulse[100] = 1.0;
    const BandLevels flat = irgen::thirdOctaveLevels(impulse, 0, 256, kRate, 100.0, 16000.0);
    ASSERT_EQ(flat.hz.size(), 23u); // 100 Hz .. 16 kHz
    EXPECT_LT(irgen::largestSpreadDb(flat), 0.01);
    EXPECT_LT(irgen::largestStepDb(flat, 100.0, 16000.0), 0.01);
    EXPECT_LT(irgen::largestTrendDeviationDb(flat), 0.01);

    const std::vector<double> shelf = shelvedImpulse(5700.0, 0.1);
    const BandLevels stepped = irgen::thirdOctaveLevels(shelf, 0, 4096, kRate, 100.0, 16000.0);
    EXPECT_GT(irgen::largestStepDb(stepped, 100.0, 12500.0), 12.0);
    EXPECT_GT(irgen::largestTrendDeviationDb(stepped), 4.0);
    EXPECT_NEAR(irgen::relativeLevelDb(stepped, 10000.0), -20.0, 0.5);
}

std::vector<double> earAtDefaultSetting(int position, int ear)
{
    return irgen::earResponse(roomResponseTable(fbTableOf(position)), roomResponseTable(lrTableOf(position)),
                              roomResponseTable(cfTableOf(position)), kResponseLength, ear,
                              ListeningSetting{});
}

// The source adds nothing: what the ear facing the source hears first is the head's gentle
// treble lift (the left ear for Center and the L positions, the right ear for the R positions).
TEST(BankTone, NearerEarHearsAFlatDirectSoundAtEveryPosition)
{
    for (int p = 0; p < kPositionCount; ++p)
    {
        SCOPED_TRACE(p);
        const std::vector<double> ear = earAtDefaultSetting(p, p <= 5 ? 0 : 1);
        const int direct = irgen::mainPeak(ear);
        EXPECT_LT(std::abs(direct - 322), 2);
        const irgen::Piece piece = irgen::directPiece(direct, kRate);
        const BandLevels levels =
            irgen::thirdOctaveLevels(ear, piece.begin, piece.end, kRate, 400.0, 16000.0);
        EXPECT_LE(irgen::largestSpreadDb(levels), 6.0);
    }
}

class EarTone : public ::testing::TestWithParam<std::tuple<int, int>>
{
protected:
    void SetUp() override
    {
        m_Ear = earAtDefaultSetting(std::get<0>(GetParam()), std::get<1>(GetParam()));
        m_nDirect = irgen::mainPeak(m_Ear);
    }

    BandLevels levels(const irgen::Piece& piece, double lowHz, double highHz) const
    {
        return irgen::thirdOctaveLevels(m_Ear, piece.begin, piece.end, kRate, lowHz, highHz);
    }

    std::vector<double> m_Ear;
    int m_nDirect = 0;
};

// Above 400 Hz a step between neighbours in the first 50 ms can only come from a band edge.
// Between 200 and 400 Hz the floor reflection's comb (its notch near 310 Hz at 48 kHz) still
// leaves steps of up to 7.5 dB: a real room's comb, which the generator keeps.
TEST_P(EarTone, EarlyPartHasNoShelf)
{
    const BandLevels early = levels(irgen::earlyPiece(m_nDirect, kRate), 400.0, 16000.0);
    EXPECT_LE(irgen::largestStepDb(early, 400.0, 16000.0), 6.0);
}

// The tail falls with frequency as the walls and the air make it, smoothly: no shelf between
// neighbouring bands and no departure from a smooth trend from the bass (where a chance
// realisation of the diffuse noise would make narrow bands wander) to 12.5 kHz, and an open top
// (the air's roll-off, not a cliff). In the top third-octave the air's f^2 law outruns any
// second-order trend; a band limit or a shelf there would take it further.
TEST_P(EarTone, LateTailFallsSmoothlyAndKeepsItsTop)
{
    const irgen::Piece late = irgen::latePiece(m_nDirect, kRate);
    const BandLevels upTo12k = levels(late, 100.0, 12500.0);
    EXPECT_LE(irgen::largestStepDb(upTo12k, 100.0, 12500.0), 4.0);
    EXPECT_LE(irgen::largestTrendDeviationDb(upTo12k), 2.5);
    const BandLevels upTo16k = levels(late, 100.0, 16000.0);
    EXPECT_LE(irgen::largestTrendDeviationDb(upTo16k), 4.5);
    EXPECT_GT(irgen::relativeLevelDb(upTo16k, 8000.0), -12.0);
    EXPECT_GT(irgen::relativeLevelDb(upTo16k, 12500.0), -20.0);
}

INSTANTIATE_TEST_SUITE_P(EveryPositionAndEar, EarTone,
                         ::testing::Combine(::testing::Range(0, kPositionCount), ::testing::Values(0, 1)));

} // namespace

namespace {
double correlation(const double* a, const double* b, int begin, int end)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int i = begin; i < end; ++i)
    {
        ab += a[i] * b[i];
        aa += a[i] * a[i];
        bb += b[i] * b[i];
    }
    return ab / std::sqrt(aa * bb);
}

// The late tail is diffuse: the two ears hear different noise, and the energy arriving over the
// front/back walls and over the ceiling and floor is incoherent, so that the FB and CF volumes
// add energies. One stream reused for both ears, or for FB and CF, shows as a correlation near 1.
TEST(BankTone, LateTailIsDecorrelatedBetweenEarsAndBetweenFbAndCf)
{
    const int begin = 9000, end = 40000; // 0.2 to 0.9 s at 44.1 kHz
    for (int p = 0; p < kPositionCount; ++p)
    {
        SCOPED_TRACE(p);
        const double* fb = roomResponseTable(fbTableOf(p));
        const double* cf = roomResponseTable(cfTableOf(p));
        const double* lr = roomResponseTable(lrTableOf(p));
        std::vector<double> left(kResponseLength), right(kResponseLength);
        for (int i = 0; i < kResponseLength; ++i)
        {
            left[static_cast<size_t>(i)] = fb[i] + cf[i] + lr[i];
            right[static_cast<size_t>(i)] = fb[i] + cf[i] - lr[i];
        }
        EXPECT_LT(std::fabs(correlation(left.data(), right.data(), begin, end)), 0.1);
        EXPECT_LT(std::fabs(correlation(fb, cf, begin, end)), 0.05);
    }
}
} // namespace
