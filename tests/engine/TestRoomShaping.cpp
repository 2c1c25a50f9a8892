// The shaped response a stage gathers against the closed-form decay laws and combination.
#include "support/StageFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <limits>

namespace {

using namespace enginetest;
using Component = CPartitionedConvolver::Component;

double exponentialLaw(long i, double a, double fs) { return std::exp(-(static_cast<double>(i) * a) / fs); }
double hyperbolicLaw(long i, double a, double fs)
{
    return fs / (static_cast<double>(i) * (a * 7.5 + 0.07) + fs);
}
double law(int curve, long i, double a, double fs)
{
    return curve == 0 ? exponentialLaw(i, a, fs) : hyperbolicLaw(i, a, fs);
}

// Three synthetic component tables bound to a stage of the given shape and ear.
struct ShapedStage
{
    std::vector<double> fb = noise(kResponseLength, 31, 0.7);
    std::vector<double> lr = noise(kResponseLength, 32, 0.7);
    std::vector<double> cf = noise(kResponseLength, 33, 0.7);
    std::unique_ptr<CPartitionedConvolver> stage;

    ShapedStage(const StageShape& s, int ear)
        : stage(std::make_unique<CPartitionedConvolver>(testBank(), 0, 44100, ear, kResponseLength, s.P * s.c,
                                                        s.c, s.start))
    {
        stage->component(Component::kFB).m_pData = fb.data();
        stage->component(Component::kLR).m_pData = lr.data();
        stage->component(Component::kCF).m_pData = cf.data();
        stage->combine();
    }
    std::vector<double> response()
    {
        std::vector<double> r(kResponseLength, 0.0);
        stage->shapedResponse(0, kResponseLength, r.data());
        return r;
    }
};

struct Setting
{
    double absFB, absLR, absCF;
    int fs, curve;
    double volFB, volLR, volCF;
};

TEST(RoomShaping, GatheredPartitionsFollowTheClosedForm)
{
    const Setting settings[] = {
        {7.0, 7.0, 7.0, 44100, 0, 1.0, 1.0, 1.0},   {0.0, 3.5, 14.0, 48000, 0, 0.3, -0.8, 1.2},
        {7.0, 7.0, 7.0, 44100, 1, 1.0, 1.0, 1.0},   {0.0, 3.5, 14.0, 96000, 1, 0.3, -0.8, 1.2},
        {13.9, 0.01, 6.2, 22050, 0, 2.0, 0.5, 0.0},
    };
    for (const StageShape& s : {kEarly, kLate})
    {
        for (int ear : {0, 1})
        {
            ShapedStage shaped(s, ear);
            for (const Setting& k : settings)
            {
                shaped.stage->setAllDecays(k.absFB, k.absLR, k.absCF, k.fs, k.curve);
                shaped.stage->setVolumes(k.volFB, k.volLR, k.volCF);
                const std::vector<double> r = shaped.response();
                for (long i = 0; i < kResponseLength; ++i)
                {
                    if (i < s.start || i >= s.start + s.P * s.c)
                    {
                        ASSERT_EQ(r[i], 0.0);
                        continue;
                    }
                    const double pFB = (law(k.curve, i, k.absFB, k.fs) * k.volFB) * shaped.fb[i];
                    const double pLR = (law(k.curve, i, k.absLR, k.fs) * k.volLR) * shaped.lr[i];
                    const double pCF = (law(k.curve, i, k.absCF, k.fs) * k.volCF) * shaped.cf[i];
                    const double expected = (ear == 0 ? pFB + pLR : pFB - pLR) + pCF;
                    const double scale = std::abs(pFB) + std::abs(pLR) + std::abs(pCF);
                    ASSERT_LE(std::abs(r[i] - expected), 1e-12 * scale + 1e-300)
                        << "c " << s.c << " ear " << ear << " curve " << k.curve << " i " << i;
                }
            }
        }
    }
}

TEST(RoomShaping, EnvelopeLevelsAt44100)
{
    struct Row
    {
        double absorption;
        int curve;
        double dB4096, dB44100, dB69631;
    };
    const Row table[] = {
        {0, 0, 0.0, 0.0, 0.0},          {0, 1, -0.06, -0.59, -0.91},     {7, 0, -5.65, -60.8, -96.0},
        {7, 1, -15.39, -34.58, -38.49}, {14, 0, -11.29, -121.6, -192.0}, {14, 1, -20.64, -40.51, -44.45},
    };
    const std::vector<double> ones(kResponseLength, 1.0);
    auto stage = stageWithResponse(kLate, ones);
    stage->setVolumes(1.0, 0.0, 0.0);
    for (const Row& row : table)
    {
        stage->setDecayFB(row.absorption, 44100, row.curve);
        const int at[] = {4096, 44100, 69631};
        const double dB[] = {row.dB4096, row.dB44100, row.dB69631};
        for (int n = 0; n < 3; ++n)
        {
            double value = 0.0;
            stage->shapedResponse(at[n], 1, &value);
            // The table rounds to 0.01 dB (0.1 dB in the one-decimal entries).
            EXPECT_NEAR(20.0 * std::log10(value), dB[n], 0.051)
                << row.absorption << " " << row.curve << " " << at[n];
        }
    }
}

TEST(RoomShaping, EarsDifferOnlyInTheSignOfLeftRight)
{
    ShapedStage left(kEarly, 0), right(kEarly, 1);
    for (ShapedStage* s : {&left, &right})
    {
        s->stage->setAllDecays(2.0, 9.0, 4.0, 48000, 0);
        s->stage->setVolumes(0.7, 0.4, 1.1);
    }
    const std::vector<double> l = left.response(), r = right.response();
    for (int i = 0; i < 4096; ++i)
    {
        const double fb = (exponentialLaw(i, 2.0, 48000) * 0.7) * left.fb[i];
        const double lr = (exponentialLaw(i, 9.0, 48000) * 0.4) * left.lr[i];
        const double cf = (exponentialLaw(i, 4.0, 48000) * 1.1) * left.cf[i];
        ASSERT_NEAR(l[i] + r[i], 2.0 * (fb + cf), 1e-14);
        ASSERT_NEAR(l[i] - r[i], 2.0 * lr, 1e-14);
    }
    left.stage->setVolumes(0.7, 0.0, 1.1);
    right.stage->setVolumes(0.7, 0.0, 1.1);
    EXPECT_EQ(left.response(), right.response());
}

TEST(RoomShaping, ExactValuesAtTheEnds)
{
    ShapedStage shaped(kEarly, 0);
    // Absorption 0, exponential: the envelopes are exactly 1 and the response the plain sum.
    shaped.stage->setAllDecays(0.0, 0.0, 0.0, 44100, 0);
    shaped.stage->setVolumes(0.5, 0.25, 2.0);
    std::vector<double> r = shaped.response();
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(r[i],
                  ((1.0 * 0.5) * shaped.fb[i] + (1.0 * 0.25) * shaped.lr[i]) + (1.0 * 2.0) * shaped.cf[i]);
    // Index 0 gets exactly 1 under both laws; curve types 1 and 2 are the same law.
    for (int curve : {0, 1, 2})
    {
        shaped.stage->setAllDecays(9.0, 9.0, 9.0, 44100, curve);
        shaped.stage->setVolumes(1.0, 0.0, 0.0);
        double first = 0.0;
        shaped.stage->shapedResponse(0, 1, &first);
        EXPECT_EQ(first, shaped.fb[0]);
    }
    shaped.stage->setAllDecays(9.0, 3.0, 1.0, 44100, 1);
    r = shaped.response();
    shaped.stage->setAllDecays(9.0, 3.0, 1.0, 44100, 2);
    EXPECT_EQ(shaped.response(), r);
}

TEST(RoomShaping, DecayChangesOnlyItsOwnEnvelopeAndLaw)
{
    ShapedStage shaped(kEarly, 0);
    shaped.stage->setAllDecays(5.0, 5.0, 5.0, 44100, 1);
    shaped.stage->setDecayLR(2.0, 44100, 0);
    shaped.stage->setVolumes(0.0, 1.0, 1.0);
    const std::vector<double> r = shaped.response();
    for (int i = 0; i < 4096; ++i)
    {
        const double expected =
            (exponentialLaw(i, 2.0, 44100) * shaped.lr[i]) + hyperbolicLaw(i, 5.0, 44100) * shaped.cf[i];
        ASSERT_NEAR(r[i], expected, 1e-14) << i;
    }
}

TEST(RoomShaping, ZeroVolumesSilenceTheStage)
{
    ShapedStage shaped(kEarly, 1);
    shaped.stage->setAllDecays(1.0, 1.0, 1.0, 44100, 1);
    const std::vector<double> x = noise(30000, 34);
    const long changeAt = 5000;
    const long silentFrom = (changeAt / kEarly.c + kEarly.P + 3) * kEarly.c;
    for (long m = 0; m < static_cast<long>(x.size()); ++m)
    {
        if (m == changeAt)
            shaped.stage->setVolumes(0.0, 0.0, 0.0);
        shaped.stage->processSample(x[m]);
        if (m >= silentFrom)
        {
            ASSERT_EQ(shaped.stage->output(), 0.0) << m;
        }
    }
}

TEST(RoomShaping, UnusableSettingsGiveDefinedResponses)
{
    ShapedStage shaped(kEarly, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Bad absorptions count as 0, a bad rate as 1 Hz, non-finite volumes as 0, huge ones
    // are clamped to ±1e6.
    shaped.stage->setAllDecays(nan, -3.0, inf, 0, 0);
    shaped.stage->setVolumes(1.0, 1.0, 1.0);
    std::vector<double> r = shaped.response();
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(r[i], (shaped.fb[i] + shaped.lr[i]) + shaped.cf[i]) << i;
    shaped.stage->setVolumes(nan, inf, -1e300);
    r = shaped.response();
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(r[i], -1e6 * shaped.cf[i]) << i;
    // A table shorter than the stage's region is not read: it contributes silence.
    shaped.stage->component(Component::kLR).m_nLength = 100;
    shaped.stage->component(Component::kCF).m_pData = nullptr;
    shaped.stage->combine();
    for (double v : shaped.response())
        ASSERT_EQ(v, 0.0);
}

// A setting given again as it is leaves a settled stage settled (it goes on without gathering
// or transforming its response) and its output bit for bit as it was; any real change
// unsettles it, so that the new response is gathered.
TEST(RoomShaping, SettingsGivenAgainUnchangedKeepTheStageSettled)
{
    struct Case
    {
        const char* name;
        bool changes;
        std::function<void(CPartitionedConvolver&)> apply;
    };
    const Case cases[] = {
        {"same volumes", false, [](CPartitionedConvolver& s) { s.setVolumes(0.5, 0.7, 0.9); }},
        {"other volume", true, [](CPartitionedConvolver& s) { s.setVolumes(0.5, 0.7, 0.8); }},
        {"same decays", false, [](CPartitionedConvolver& s) { s.setAllDecays(3.0, 5.0, 7.0, 48000, 0); }},
        {"same FB decay", false, [](CPartitionedConvolver& s) { s.setDecayFB(3.0, 48000, 0); }},
        {"other CF absorption", true, [](CPartitionedConvolver& s) { s.setDecayCF(7.5, 48000, 0); }},
        {"other law", true, [](CPartitionedConvolver& s) { s.setDecayLR(5.0, 48000, 1); }},
        {"other rate", true, [](CPartitionedConvolver& s) { s.setDecayFB(3.0, 44100, 0); }},
        {"same position", false, [](CPartitionedConvolver& s) { s.loadPosition(2, 48000); }},
        {"other position", true, [](CPartitionedConvolver& s) { s.loadPosition(3, 48000); }},
        {"recombined", true, [](CPartitionedConvolver& s) { s.combine(); }},
    };
    const StageShape sh = kEarly;
    const std::vector<double> x = noise(static_cast<std::size_t>(80 * sh.c), 41);
    const std::size_t half = x.size() / 2;
    auto build = [&] {
        auto stage = std::make_unique<CPartitionedConvolver>(testBank(), 2, 48000, 0, kResponseLength,
                                                             sh.P * sh.c, sh.c, sh.start);
        stage->setAllDecays(3.0, 5.0, 7.0, 48000, 0);
        stage->setVolumes(0.5, 0.7, 0.9);
        return stage;
    };
    for (const Case& c : cases)
    {
        auto stage = build(), untouched = build();
        const std::vector<double> first(x.begin(), x.begin() + static_cast<long>(half));
        const std::vector<double> second(x.begin() + static_cast<long>(half), x.end());
        run(*stage, first);
        run(*untouched, first);
        ASSERT_TRUE(stage->responseSettled()) << c.name;
        c.apply(*stage);
        EXPECT_EQ(stage->responseSettled(), !c.changes) << c.name;
        const std::vector<double> a = run(*stage, second);
        const std::vector<double> b = run(*untouched, second);
        if (!c.changes)
        {
            EXPECT_EQ(a, b) << c.name;
        }
        else if (std::string(c.name) != "recombined")
        {
            EXPECT_NE(a, b) << c.name;
        }
    }
}

} // namespace
