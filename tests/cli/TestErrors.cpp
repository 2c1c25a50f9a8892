// Every refused render exits non-zero, says why on standard error and leaves no file behind.
#include "CliErrorCase.h"
#include "support/CaseNames.h"

#include <sndfile.h>

#include <fstream>

namespace CliTest {
namespace {

class RenderErrors : public CliErrors
{
protected:
    void SetUp() override
    {
        CliErrors::SetUp();
        input("in.au", SF_FORMAT_AU | SF_FORMAT_PCM_16);
        input("three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3);
        std::ofstream(path("text.wav")) << "not a sound file\n";
    }
};

TEST_P(RenderErrors, ExitsWithAMessageAndWritesNothing)
{
    Sound before;
    ASSERT_TRUE(readSound(path("in.wav"), before));

    expectRefused(GetParam());

    Sound after;
    ASSERT_TRUE(readSound(path("in.wav"), after));
    EXPECT_EQ(largestDifference(before, after), 0.0) << "the input is untouched";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderErrors,
    ::testing::Values(
        ErrorCase{"MissingInput", {"render", "@missing.wav", "@out.wav"}, "No such file"},
        ErrorCase{"UnreadableInput", {"render", "@text.wav", "@out.wav"}, "cannot read"},
        ErrorCase{"UnsupportedContainer", {"render", "@in.au", "@out.au"}, "reads WAV, AIFF, FLAC and OGG"},
        ErrorCase{"ThreeChannels", {"render", "@three.wav", "@out.wav"}, "mono or stereo"},
        ErrorCase{"UnknownParameter",
                  {"render", "@in.wav", "@out.wav", "--set", "Size=2"},
                  "unknown parameter \"Size\""},
        ErrorCase{"SettingWithoutValue", {"render", "@in.wav", "@out.wav", "--set", "Gain"}, "PARAM=VALUE"},
        ErrorCase{
            "ValueAboveRange", {"render", "@in.wav", "@out.wav", "--set", "Gain=1.5"}, "outside the range"},
        ErrorCase{"ValueBelowRange",
                  {"render", "@in.wav", "@out.wav", "--set", "Abs L-R=-0.5"},
                  "outside the range"},
        ErrorCase{
            "ValueNotANumber", {"render", "@in.wav", "@out.wav", "--set", "Gain=loud"}, "wants a number"},
        ErrorCase{"UnknownListEntry", {"render", "@in.wav", "@out.wav", "--set", "Position=L100"}, "L90"},
        ErrorCase{
            "UnknownPreset", {"render", "@in.wav", "@out.wav", "--preset", "Cathedral"}, "unknown preset"},
        ErrorCase{"OutputIsInput", {"render", "@in.wav", "@in.wav"}, "same file"},
        ErrorCase{"OutputIsInputSpelledDifferently", {"render", "@in.wav", "./in.wav"}, "same file"},
        ErrorCase{"OutputFolderMissing", {"render", "@in.wav", "@no/such/folder/out.wav"}, "cannot write"},
        ErrorCase{"BadBlockSize", {"render", "@in.wav", "@out.wav", "--block", "0"}, "--block"},
        ErrorCase{"OnlyOneFileName", {"render", "@in.wav"}, "needs both IN and OUT"},
        ErrorCase{"DemoWithTwoFileNames", {"render", "--demo", "@a.wav", "@b.wav"}, "at most one file name"},
        ErrorCase{"UnknownOption", {"render", "@in.wav", "@out.wav", "--loud"}, "unknown option '--loud'"},
        ErrorCase{
            "OptionWithoutValue", {"render", "@in.wav", "@out.wav", "--preset"}, "--preset needs a value"},
        ErrorCase{"BundleMissing",
                  {"--bundle", "@nowhere.vst3", "render", "@in.wav", "@out.wav"},
                  "cannot load the plug-in"}),
    TestSupport::caseName<ErrorCase>);

} // namespace
} // namespace CliTest
