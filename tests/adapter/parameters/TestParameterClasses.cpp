// Meter, logarithmic and volt/octave parameter classes: curves, texts and typed input.
#include "adapter/processor/Processor.h" // first: the SDK's controller headers come in through it

#include "AdapterFixture.h"
#include "adapter/parameters/LogParameter.h"
#include "adapter/parameters/PeakParameter.h"
#include "adapter/parameters/VoltOctaveParameter.h"

#include <cmath>

using namespace AdapterTest;

namespace {
std::string textOf(const Parameter& parameter, double normalized)
{
    String128 text = {};
    parameter.toString(normalized, text);
    return toUtf8(text);
}

bool parse(const Parameter& parameter, const std::string& text, double& normalized)
{
    const std::u16string wide = toUtf16(text);
    return parameter.fromString(wide.c_str(), normalized);
}

IPtr<LogParameter> makeLog(int32 precision = 2)
{
    auto parameter = owned(new LogParameter(STR16("Freq"), 3, STR16("Hz"), 20.0, 20000.0, 1000.0, 0,
                                            ParameterInfo::kCanAutomate, 0));
    parameter->setPrecision(precision);
    return parameter;
}

IPtr<VoltOctaveParameter> makeVoltOctave()
{
    auto parameter = owned(new VoltOctaveParameter(STR16("Pitch"), 4, nullptr, 20.0, 20480.0, 640.0, 0,
                                                   ParameterInfo::kCanAutomate, 0));
    parameter->setPrecision(1);
    return parameter;
}
} // namespace

TEST(PeakParameter, ShowsDecibelsAndMinusInfinityAtTheFloor)
{
    PeakParameter meter(ParameterInfo::kIsReadOnly, 7, STR16("Level"));
    const struct
    {
        double v;
        const char* text;
    } cases[] = {
        {1.0, "0.000"},         {0.5, "-6.021"}, {0.00010001, "-79.999"}, {0.0001, "-\xE2\x88\x9E"},
        {0.0, "-\xE2\x88\x9E"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textOf(meter, c.v), c.text) << "v = " << c.v;
}

TEST(PeakParameter, RecordAndIdentityMapping)
{
    PeakParameter meter(ParameterInfo::kIsReadOnly, 7, STR16("Level"));
    EXPECT_EQ(meter.getInfo().id, 7u);
    EXPECT_EQ(meter.getInfo().flags, ParameterInfo::kIsReadOnly);
    EXPECT_EQ(meter.getInfo().stepCount, 0);
    EXPECT_EQ(meter.getInfo().defaultNormalizedValue, 0.5);
    EXPECT_EQ(meter.getInfo().units[0], 0);
    EXPECT_EQ(meter.getNormalized(), 1.0); // full scale until registration zeroes it
    EXPECT_EQ(meter.toPlain(0.3), 0.3);
    EXPECT_EQ(meter.toNormalized(0.3), 0.3);
    double v = 0.25;
    EXPECT_FALSE(parse(meter, "-6.0", v));
    EXPECT_EQ(v, 0.25);
}

TEST(LogParameter, CurveEndsAndUnclampedPlainValues)
{
    auto log = makeLog();
    EXPECT_NEAR(log->toNormalized(20.0), 0.0039810717, 1e-8);
    EXPECT_DOUBLE_EQ(log->toNormalized(20000.0), 1.0);
    EXPECT_DOUBLE_EQ(log->toPlain(0.0), 20.0);
    EXPECT_DOUBLE_EQ(log->toPlain(-0.5), 20.0);
    EXPECT_NEAR(log->toPlain(1.0), 20000.0, 1e-9);
    // Below 10^-2.4 the plain value leaves the range: 20 + 19980 * (1 - 3 / 2.4).
    EXPECT_NEAR(log->toPlain(0.001), -4975.0, 1e-3);
    EXPECT_NEAR(log->toPlain(log->toNormalized(1000.0)), 1000.0, 0.05);
}

TEST(LogParameter, DefaultUsesTheLogCurveNotTheLinearOne)
{
    auto log = makeLog();
    EXPECT_EQ(log->getInfo().defaultNormalizedValue, log->toNormalized(1000.0));
    EXPECT_EQ(log->getNormalized(), log->toNormalized(1000.0));
    EXPECT_GT(std::abs(log->getInfo().defaultNormalizedValue - 980.0 / 19980.0), 0.01);
    EXPECT_EQ(toUtf8(log->getInfo().units), "Hz");
}

TEST(LogParameter, TextsUseThePrecision)
{
    EXPECT_EQ(textOf(*makeLog(2), 1.0), "20000.00");
    EXPECT_EQ(textOf(*makeLog(0), 0.0), "20");
    EXPECT_EQ(textOf(*makeLog(3), 0.001), "-4975.000");
}

TEST(WarpedParameters, TypedTextsTakeTheLeadingNumber)
{
    auto log = makeLog();
    auto voltOctave = makeVoltOctave();
    const RangeParameter* both[] = {log.get(), voltOctave.get()};
    for (const RangeParameter* parameter : both)
    {
        double v = -1.0;
        ASSERT_TRUE(parse(*parameter, "1e3 Hz", v));
        EXPECT_NEAR(parameter->toPlain(v), 1000.0, 5.0);
        ASSERT_TRUE(parse(*parameter, "   500", v));
        EXPECT_NEAR(parameter->toPlain(v), 500.0, 2.5);
        ASSERT_TRUE(parse(*parameter, "40000", v)); // not clamped to the range
        EXPECT_GT(v, 1.0);
    }
}

TEST(WarpedParameters, RefusesTextsWithoutAFiniteLeadingNumber)
{
    auto log = makeLog();
    auto voltOctave = makeVoltOctave();
    const RangeParameter* both[] = {log.get(), voltOctave.get()};
    for (const RangeParameter* parameter : both)
        for (const char* text : {"", "Hz 100", "abc", "inf", "-inf", "nan", "infinity", "1e999"})
        {
            double v = 0.125;
            EXPECT_FALSE(parse(*parameter, text, v)) << "'" << text << "'";
            EXPECT_EQ(v, 0.125) << "'" << text << "'";
        }
}

TEST(VoltOctaveParameter, EqualStepsGiveEqualRatios)
{
    auto pitch = makeVoltOctave();
    EXPECT_NEAR(pitch->toPlain(0.5), 640.0, 640.0 * 1e-3);
    EXPECT_NEAR(pitch->toNormalized(640.0), 0.5, 1e-4);
    EXPECT_NEAR(pitch->toPlain(0.0), 20.0, 20.0 * 1e-3);
    EXPECT_NEAR(pitch->toPlain(1.0), 20480.0, 20480.0 * 1e-3);
    EXPECT_NEAR(pitch->toPlain(0.1) / 20.0, 2.0, 2e-3); // one octave per tenth
    EXPECT_NEAR(pitch->toNormalized(1280.0) - pitch->toNormalized(640.0), 0.1, 1e-4);
}

TEST(VoltOctaveParameter, DefaultIsStoredInSinglePrecision)
{
    auto pitch = makeVoltOctave();
    const double stored = pitch->getInfo().defaultNormalizedValue;
    EXPECT_EQ(stored, static_cast<double>(static_cast<float>(stored)));
    EXPECT_NEAR(stored, 0.5, 1e-4);
    EXPECT_EQ(pitch->getNormalized(), stored);
    EXPECT_EQ(textOf(*pitch, 0.5).substr(0, 3), "640");
}
