// Parameters and presets given on the command line reach the plug-in as a host delivers them.
#include "BundleInstance.h"
#include "CliFixture.h"

#include <sndfile.h>

#include <cstdio>

namespace CliTest {
namespace {

using Steinberg::Vst::ParamValue;

class CliParameters : public CliRender
{
protected:
    void SetUp() override
    {
        CliRender::SetUp();
        in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    }
    std::string in;
};

TEST_F(CliParameters, GainZeroRendersSilence)
{
    const Sound rendered = render({"render", in, path("out.wav"), "--set", "Gain=0"}, path("out.wav"));
    ASSERT_GT(rendered.frames(), 3000);
    EXPECT_EQ(peak(rendered), 0.0);
}

// The value as displayed, full precision or list entry, to set one parameter on the command line.
std::string settingFor(BundleInstance& bundle, const BundleInstance::Value& value)
{
    if (value.isList)
        return value.title + "=" + bundle.display(value.id, value.normalized);
    char plain[40];
    std::snprintf(plain, sizeof plain, "%.17g",
                  bundle.controller().normalizedParamToPlain(value.id, value.normalized));
    return value.title + "=" + plain;
}

// Selecting "Studio" gives the same sound as typing in, one by one, every value the preset
// changes; and that sound differs from the initial one, so the preset really arrived.
TEST_F(CliParameters, PresetEqualsSettingItsValuesOneByOne)
{
    BundleInstance bundle;
    ASSERT_TRUE(bundle.ok());
    const auto initial = bundle.values();
    ASSERT_TRUE(bundle.selectPreset(1));
    const auto studio = bundle.values();
    ASSERT_EQ(initial.size(), studio.size());
    std::vector<std::string> args = {"render", in, path("by-values.wav")};
    for (size_t i = 0; i < studio.size(); ++i)
        if (studio[i].normalized != initial[i].normalized && studio[i].title != "Factory Presets")
            args.insert(args.end(), {"--set", settingFor(bundle, studio[i])});
    ASSERT_GT(args.size(), 3u) << "Studio changes some parameter";

    const Sound byPreset =
        render({"render", in, path("by-preset.wav"), "--preset", "Studio"}, path("by-preset.wav"));
    const Sound byValues = render(args, path("by-values.wav"));
    const Sound plain = render({"render", in, path("plain.wav")}, path("plain.wav"));
    EXPECT_LE(largestDifference(byPreset, byValues), 1e-5);
    EXPECT_GT(largestDifference(byPreset, plain), 1e-3);
}

// A later --set wins over the preset, and list entries and titles are matched without regard
// to case, as a user types them.
TEST_F(CliParameters, SettingsAfterThePresetOverrideIt)
{
    const Sound silent = render(
        {"render", in, path("out.wav"), "--preset", "studio", "--set", "gain=0", "--set", "position=l90"},
        path("out.wav"));
    EXPECT_EQ(peak(silent), 0.0);
}

// A list entry picks a different room than the default position.
TEST_F(CliParameters, PositionEntryChangesTheRoom)
{
    const Sound centre = render({"render", in, path("c.wav")}, path("c.wav"));
    const Sound left = render({"render", in, path("l.wav"), "--set", "Position=L90"}, path("l.wav"));
    EXPECT_GT(largestDifference(centre, left), 1e-3);
}

} // namespace
} // namespace CliTest
