// Rendering files end to end through the tessaline program: length, container, channels, demo.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <sndfile.h>

namespace CliTest {
namespace {

struct ContainerCase
{
    const char* name;
    int inputFormat;
    int expectedOutputFormat;
    bool exactLength; // Vorbis may pad the last page
};
inline void PrintTo(const ContainerCase& c, std::ostream* os) { *os << c.name; }

class RenderContainers : public CliRender, public ::testing::WithParamInterface<ContainerCase>
{};

// The output keeps the input's container and rate, carries float samples where the container has
// them, and holds the input plus the full reported tail.
TEST_P(RenderContainers, KeepsContainerRateAndAddsTheReportedTail)
{
    const ContainerCase& c = GetParam();
    const long frames = 3000;
    const int rate = 44100;
    const std::string in = input(std::string("in.") + c.name, c.inputFormat, 2, rate, frames);
    const std::string out = path(std::string("out.") + c.name);
    const ToolResult result = run({"render", in, out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no progress bar or chatter when stderr is not a terminal";

    Sound rendered;
    ASSERT_TRUE(readSound(out, rendered));
    EXPECT_EQ(rendered.format, c.expectedOutputFormat);
    EXPECT_EQ(rendered.sampleRate, rate);
    EXPECT_EQ(rendered.channels, 2);
    const long tail = reportedTail(rate);
    EXPECT_GE(tail, 69887) << "the tail covers the whole room response";
    if (c.exactLength)
        EXPECT_EQ(rendered.frames(), frames + tail);
    else
        EXPECT_NEAR(static_cast<double>(rendered.frames()), static_cast<double>(frames + tail), 2048.0);
    EXPECT_GT(peak(rendered), 1e-3) << "the room answers the input";
}

INSTANTIATE_TEST_SUITE_P(
    Containers, RenderContainers,
    ::testing::Values(
        ContainerCase{"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_WAV | SF_FORMAT_FLOAT, true},
        ContainerCase{"aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, SF_FORMAT_AIFF | SF_FORMAT_FLOAT, true},
        ContainerCase{"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, true},
        ContainerCase{"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, SF_FORMAT_OGG | SF_FORMAT_VORBIS, false}),
    TestSupport::caseName<ContainerCase>);

TEST_F(CliRender, NoTailStopsAtTheEndOfTheInput)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 5000);
    const Sound rendered = render({"render", in, path("out.wav"), "--no-tail"}, path("out.wav"));
    EXPECT_EQ(rendered.frames(), 5000);
}

// A mono file runs the plug-in on a mono bus and comes back mono, at its own (unusual) rate.
TEST_F(CliRender, MonoInputRendersMono)
{
    const std::string in = input("mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, 2000);
    const Sound rendered = render({"render", in, path("out.wav")}, path("out.wav"));
    EXPECT_EQ(rendered.channels, 1);
    EXPECT_EQ(rendered.sampleRate, 22050);
    EXPECT_EQ(rendered.frames(), 2000 + reportedTail(22050));
    EXPECT_GT(peak(rendered), 1e-3);
}

// The host's block size is not part of the sound: odd blocks give the same samples as the default.
TEST_F(CliRender, BlockSizeDoesNotChangeTheResult)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Sound standard = render({"render", in, path("a.wav")}, path("a.wav"));
    const Sound odd = render({"render", in, path("b.wav"), "--block", "37"}, path("b.wav"));
    EXPECT_LE(largestDifference(standard, odd), 1e-6);
}

// The file is read ahead and written behind in large pieces whatever the host block: a long input
// at an odd block size comes back dry (mix 0) exactly, every frame in its place, and so does the
// last, partial piece. Each sample is distinct from its neighbours and its other channel.
TEST_F(CliRender, LongInputComesBackFrameForFrameThroughTheFilePieces)
{
    const long frames = 100003;
    Sound dry;
    dry.channels = 2;
    dry.sampleRate = 48000;
    for (long n = 0; n < frames; ++n)
        for (int c = 0; c < 2; ++c)
            dry.samples.push_back(static_cast<float>((n % 4093 + 1) * (c == 0 ? 1 : -1)) / 8192.0f);
    const std::string in = path("long.wav");
    ASSERT_TRUE(writeSound(in, dry, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    const Sound out =
        render({"render", in, path("out.wav"), "--no-tail", "--mix", "0", "--block", "37"}, path("out.wav"));
    ASSERT_EQ(out.frames(), frames);
    long misplaced = 0;
    for (size_t i = 0; i < dry.samples.size(); ++i)
        misplaced += out.samples[i] != dry.samples[i];
    EXPECT_EQ(misplaced, 0);
}

// Without file names the built-in demo goes to tessaline-demo.wav in the working folder; --demo
// names the file. Both are the same deterministic stereo phrase with its tail.
TEST_F(CliRender, DemoRendersTheBuiltInPhrase)
{
    const ToolResult plain = run({"render"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("tessaline-demo.wav"), std::string::npos) << plain.out;
    Sound first;
    ASSERT_TRUE(readSound(path("tessaline-demo.wav"), first));
    const Sound second = render({"render", "--demo", "named.wav"}, path("named.wav"));

    EXPECT_EQ(first.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(first.channels, 2);
    EXPECT_GT(first.frames(), reportedTail(first.sampleRate) + first.sampleRate)
        << "at least a second of phrase before the tail";
    EXPECT_GT(peak(first), 0.01);
    EXPECT_EQ(largestDifference(first, second), 0.0) << "the demo is the same on every run";
}

} // namespace
} // namespace CliTest
