// Meter ballistics against the closed-form one-pole response, and what the meters draw.
#include "editor/controls/CVuMeterKa.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace VSTGUI;

namespace {

constexpr double kAnalog = -1.0023934841156006;
constexpr double kDigital = -4.605170249938965;

TEST(MeterDetector, CoefficientsFollowRateAndTimeConstant)
{
    CMeterDetector d;
    d.init(20.0f, 10.0f, 500.0f, true, CMeterDetector::kPeak, false);
    EXPECT_FLOAT_EQ(d.m_fAttackCoef, static_cast<float>(std::exp(kAnalog / 0.2)));
    EXPECT_FLOAT_EQ(d.m_fReleaseCoef, static_cast<float>(std::exp(kAnalog / 10.0)));
    EXPECT_NEAR(d.detect(1.0f), 0.9933f, 1e-4f);

    d.init(20.0f, 10.0f, 500.0f, false, CMeterDetector::kPeak, false);
    EXPECT_FLOAT_EQ(d.m_fReleaseCoef, static_cast<float>(std::exp(kDigital / 10.0)));

    // Zero times follow the input at once rather than dividing by zero.
    d.init(20.0f, 0.0f, 0.0f, true, CMeterDetector::kPeak, false);
    EXPECT_EQ(d.m_fAttackCoef, 0.0f);
    EXPECT_EQ(d.detect(0.5f), 0.5f);
}

TEST(MeterDetector, StepResponsesMatchTheOnePoleLawInEveryMode)
{
    struct Case
    {
        const char* what;
        int32_t mode;
        float level;  // the step's level
        float target; // what the envelope settles on
    };
    const Case cases[] = {
        {"peak", CMeterDetector::kPeak, -0.8f, 0.8f},
        {"mean square", CMeterDetector::kMeanSquare, 0.8f, 0.64f},
        {"rms", CMeterDetector::kRms, 0.8f, 0.64f},
    };
    const double a = std::exp(kAnalog / (20.0 * 50.0 * 0.001));
    const double r = std::exp(kAnalog / (20.0 * 300.0 * 0.001));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CMeterDetector d;
        d.init(20.0f, 50.0f, 300.0f, true, c.mode, false);
        for (int n = 1; n <= 10; ++n)
            EXPECT_NEAR(d.detect(c.level), c.target * (1.0 - std::pow(a, n)), 1e-5) << n;
        const double top = d.m_fEnvelope;
        for (int n = 1; n <= 10; ++n)
            EXPECT_NEAR(d.detect(0.0f), top * std::pow(r, n), 1e-5) << n;
    }
}

TEST(MeterDetector, DecibelScaleSpansSixtyDecibels)
{
    struct Case
    {
        int32_t mode;
        float input;
        float expected;
    };
    const Case cases[] = {
        {CMeterDetector::kPeak, 0.001f, 0.0f},      {CMeterDetector::kPeak, 1.0f, 1.0f},
        {CMeterDetector::kPeak, 0.1f, 2.0f / 3.0f}, {CMeterDetector::kPeak, 1e-5f, 0.0f},
        {CMeterDetector::kRms, 0.1f, 2.0f / 3.0f},  {CMeterDetector::kMeanSquare, 0.1f, 1.0f / 3.0f},
    };
    for (const Case& c : cases)
    {
        CMeterDetector d;
        d.init(20.0f, 0.0f, 0.0f, true, c.mode, true); // settles at once
        EXPECT_NEAR(d.detect(c.input), c.expected, 1e-5f) << c.mode << " " << c.input;
    }
    CMeterDetector silent;
    silent.init(20.0f, 10.0f, 10.0f, true, CMeterDetector::kPeak, true);
    EXPECT_EQ(silent.detect(0.0f), 0.0f);
}

TEST(MeterDetector, DecayEndsAtZeroWithoutSubnormalsAndBadInputIsSilence)
{
    CMeterDetector d;
    d.init(20.0f, 0.0f, 5000.0f, false, CMeterDetector::kMeanSquare, false);
    d.detect(1.0f);
    d.m_fEnvelope = FLT_MIN * 1.01f; // the next step falls below the smallest normal
    d.detect(0.0f);
    EXPECT_EQ(d.m_fEnvelope, 0.0f);

    CMeterDetector fresh;
    EXPECT_EQ(fresh.detect(std::nanf("")), 0.0f);
    EXPECT_EQ(fresh.detect(INFINITY), 0.0f);
    EXPECT_EQ(fresh.detect(7.0f), 1.0f); // held within 0 to 1
}

// A meter image: the on image red, the off image blue, written where the meter loads them.
class MeterDrawing : public ::testing::Test
{
protected:
    static std::string writeImage(const char* name, CColor color, int w, int h)
    {
        auto ctx = COffscreenContext::create(CPoint(w, h));
        ctx->setFillColor(color);
        ctx->drawRect(CRect(0, 0, w, h), kDrawFilled);
        const std::string path = folder() + "/" + name + ".png";
        EXPECT_TRUE(ctx->writePNG(path));
        return path;
    }
    static std::string folder()
    {
        static const std::string dir = [] {
            char tmpl[] = "/tmp/tessaline-meterXXXXXX";
            return std::string(mkdtemp(tmpl));
        }();
        return dir;
    }
    void SetUp() override
    {
        on = makeOwned<CBitmap>(CResourceDescription(writeImage("on", CColor(255, 0, 0), 10, 40)));
        off = makeOwned<CBitmap>(CResourceDescription(writeImage("off", CColor(0, 0, 255), 10, 40)));
    }
    // The colour drawn at (5, y) of a 10 by 40 meter.
    static CColor drawnAt(CVuMeterKa& meter, int y)
    {
        auto ctx = COffscreenContext::create(CPoint(10, 40));
        meter.draw(ctx);
        return ctx->getPixel(5, y);
    }
    SharedPointer<CBitmap> on, off;
};

TEST_F(MeterDrawing, TwoLedMeterIsALampWithoutDecay)
{
    auto meter = makeOwned<CVuMeterKa>(CRect(0, 0, 10, 40), on, off, 2, false, false);
    meter->setValue(0.5f);
    EXPECT_EQ(drawnAt(*meter, 1), CColor(255, 0, 0));
    EXPECT_EQ(drawnAt(*meter, 38), CColor(255, 0, 0));
    meter->setValue(0.49f);
    EXPECT_EQ(drawnAt(*meter, 1), CColor(0, 0, 255));
    EXPECT_EQ(drawnAt(*meter, 38), CColor(0, 0, 255));
}

TEST_F(MeterDrawing, LedMeterLightsWholeLedsFromTheBottomOrTheTop)
{
    struct Case
    {
        bool inverted;
        float value;
        int redRows; // rows lit, counted from the bottom (or the top when inverted)
    };
    const Case cases[] = {{false, 1.0f, 40}, {false, 0.5f, 20}, {false, 0.0f, 0}, {false, 0.3f, 12},
                          {true, 1.0f, 40},  {true, 0.5f, 20},  {true, 0.0f, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.inverted << " " << c.value);
        auto meter = makeOwned<CVuMeterKa>(CRect(0, 0, 10, 40), on, off, 10, c.inverted, false);
        meter->setDecreaseStepValue(1.0f);
        meter->setValue(c.value);
        auto ctx = COffscreenContext::create(CPoint(10, 40));
        meter->draw(ctx);
        int red = 0;
        for (int y = 0; y < 40; ++y)
        {
            const bool lit = ctx->getPixel(5, y) == CColor(255, 0, 0);
            const int fromLitEnd = c.inverted ? y : 39 - y;
            EXPECT_EQ(lit, fromLitEnd < c.redRows) << y;
            red += lit;
        }
        EXPECT_EQ(red, c.redRows);
    }
}

TEST(NeedleMeter, FilmstripFrameForLevel)
{
    auto meter = makeOwned<CVuMeterKa>(CRect(0, 0, 10, 65), nullptr, nullptr, 80, false, true);
    meter->setValue(0.0f);
    EXPECT_EQ(meter->needleOffset(1.0f), 5135.0); // frame 79
    EXPECT_EQ(meter->needleOffset(0.0f), 0.0);
    auto inverted = makeOwned<CVuMeterKa>(CRect(0, 0, 10, 65), nullptr, nullptr, 80, true, true);
    inverted->setValue(0.0f);
    EXPECT_EQ(inverted->needleOffset(0.0f), 3315.0); // frame 51
    EXPECT_EQ(inverted->needleOffset(1.0f), 0.0);
    // Settings out of reason draw the first frame.
    inverted->setFrameHeight(0.0);
    EXPECT_EQ(inverted->needleOffset(0.0f), 0.0);
}

TEST(NeedleMeter, DrawsTheFrameItsDetectorChooses)
{
    // A filmstrip of four 10-pixel frames, each a different grey, top to bottom.
    auto strip = COffscreenContext::create(CPoint(4, 40));
    for (int f = 0; f < 4; ++f)
    {
        strip->setFillColor(CColor(static_cast<uint8_t>(f * 60), 0, 0));
        strip->drawRect(CRect(0, f * 10, 4, f * 10 + 10), kDrawFilled);
    }
    char tmpl[] = "/tmp/tessaline-needleXXXXXX";
    const std::string path = std::string(mkdtemp(tmpl)) + "/strip.png";
    ASSERT_TRUE(strip->writePNG(path));
    auto image = makeOwned<CBitmap>(CResourceDescription(path));
    auto meter = makeOwned<CVuMeterKa>(CRect(0, 0, 4, 10), image, nullptr, 4, false, true);
    meter->setFrameHeight(10.0);
    meter->setFrameCount(4.0);
    meter->initDetector(20.0f, 0.0f, 0.0f, true, CMeterDetector::kPeak, false);
    const std::pair<float, uint8_t> cases[] = {{0.0f, 0}, {1.0f, 180}, {0.7f, 120}};
    for (const auto& [level, red] : cases)
    {
        meter->setDecreaseStepValue(1.0f);
        meter->setValue(level);
        auto ctx = COffscreenContext::create(CPoint(4, 10));
        meter->draw(ctx);
        EXPECT_EQ(ctx->getPixel(2, 5).red, red) << level;
    }
}

} // namespace
