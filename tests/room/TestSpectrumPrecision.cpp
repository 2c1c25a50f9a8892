// The room with its transforms, spectra and sums in single precision against the same room in
// double precision, over noise while every control moves, at the common sample rates: the
// output stays within -120 dB of the double-precision reference (largest difference at most
// 1e-6 of the reference's peak), and does differ from it (the single path really ran).
#include "room/CTessaline.h"

#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ControlMove
{
    uint32_t id;
    float low, high;
};

// Every one of the eleven controls, over its range (list controls over their entries).
const ControlMove kMoves[] = {
    {CTessaline::kGain, 0.2f, 1.0f},      {CTessaline::kPosition, 0.0f, 10.0f},
    {CTessaline::kVolLR, 0.0f, 1.0f},     {CTessaline::kAbsLR, 0.5f, 14.0f},
    {CTessaline::kVolFB, 0.0f, 1.0f},     {CTessaline::kAbsFB, 0.5f, 14.0f},
    {CTessaline::kVolCF, 0.0f, 1.0f},     {CTessaline::kAbsCF, 0.5f, 14.0f},
    {CTessaline::kDecayType, 0.0f, 1.0f}, {CTessaline::kStereoMono, 0.0f, 1.0f},
    {CTessaline::kLeftRight, 0.0f, 1.0f},
};

class SpectrumPrecisionAtRate : public ::testing::TestWithParam<int>
{};

TEST_P(SpectrumPrecisionAtRate, SingleStaysWithin120DecibelsOfDoubleWhileEveryControlMoves)
{
    const int rate = GetParam();
    std::unique_ptr<CPlugIn> singleOwned{createPlugIn()}, doubleOwned{createPlugIn()};
    auto& single = static_cast<CTessaline&>(*singleOwned);
    auto& reference = static_cast<CTessaline&>(*doubleOwned);
    for (CTessaline* fx : {&single, &reference})
    {
        fx->m_nSampleRate = rate;
        fx->postConstruct();
        fx->useSpectrumPrecision(fx == &single ? SpectrumPrecision::kSingle : SpectrumPrecision::kDouble);
        fx->prepare();
    }

    const long kFrames = 4L * rate;
    constexpr long kMoveEvery = 3000;
    uint32_t noiseSeed = 5, moveSeed = 17;
    double worst = 0.0, peak = 0.0;
    for (long n = 0; n < kFrames; ++n)
    {
        if (n % kMoveEvery == kMoveEvery / 2)
        {
            // One control after another, each to a new value drawn from its range.
            const ControlMove& move = kMoves[(n / kMoveEvery) % std::size(kMoves)];
            const float u = 0.5f * (TestSupport::lcgNoise(moveSeed) + 1.0f);
            float value = move.low + u * (move.high - move.low);
            if (move.id == CTessaline::kPosition || move.id >= CTessaline::kDecayType)
                value = std::round(value);
            single.setControlPlain(move.id, value);
            reference.setControlPlain(move.id, value);
        }
        // Noise with quiet stretches, so that the rooms' tails show on their own.
        const bool quiet = (n / (rate / 2)) % 3 == 2;
        const float in[2] = {quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(noiseSeed),
                             quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(noiseSeed)};
        float a[2] = {0.0f, 0.0f}, b[2] = {0.0f, 0.0f};
        ASSERT_TRUE(single.processFrame(in, a, 2, 2));
        ASSERT_TRUE(reference.processFrame(in, b, 2, 2));
        for (int c = 0; c < 2; ++c)
        {
            worst = std::max(worst, static_cast<double>(std::fabs(a[c] - b[c])));
            peak = std::max(peak, static_cast<double>(std::fabs(b[c])));
        }
    }
    ASSERT_GT(peak, 0.01);
    RecordProperty("worst_db", std::to_string(20.0 * std::log10(worst / peak)));
    EXPECT_GT(worst, 0.0) << "the single-precision room gave the double-precision output bit for bit";
    EXPECT_LE(worst, 1e-6 * peak) << "worst " << worst << " of peak " << peak << ": "
                                  << 20.0 * std::log10(worst / peak) << " dB";
}

INSTANTIATE_TEST_SUITE_P(Rates, SpectrumPrecisionAtRate, ::testing::Values(44100, 48000, 96000),
                         [](const ::testing::TestParamInfo<int>& rate) {
                             return std::to_string(rate.param);
                         });

} // namespace
