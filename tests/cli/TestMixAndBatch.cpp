// Dry/room blend, normalization, reports of samples beyond full scale, and batches of files.
#include "CliFixture.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <fstream>

namespace CliTest {
namespace {

// --mix 0 is the dry input itself (then the tail's silence), --mix 100 today's room-only render,
// and anything between adds the two frame by frame: the dry signal is not delayed, the room keeps
// the offset it has in the plug-in.
TEST_F(CliRender, MixBlendsTheUndelayedDrySignalWithTheRoom)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 4000);
    Sound dry;
    ASSERT_TRUE(readSound(in, dry));
    const Sound room = render({"render", in, path("room.wav")}, path("room.wav"));
    const Sound full = render({"render", in, path("full.wav"), "--mix", "100"}, path("full.wav"));
    const Sound none = render({"render", in, path("none.wav"), "--mix", "0", "--no-tail"}, path("none.wav"));
    const Sound noneWithTail = render({"render", in, path("tail.wav"), "--mix", "0"}, path("tail.wav"));
    const Sound half = render({"render", in, path("half.wav"), "--mix", "50%"}, path("half.wav"));

    EXPECT_EQ(largestDifference(full, room), 0.0) << "--mix 100 is the plain render, bit for bit";
    EXPECT_EQ(largestDifference(none, dry), 0.0) << "--mix 0 returns the input unchanged";
    ASSERT_EQ(noneWithTail.frames(), room.frames());
    EXPECT_EQ(largestDifference(slice(noneWithTail, 0, dry.frames()), dry), 0.0);
    EXPECT_EQ(peak(slice(noneWithTail, dry.frames(), room.frames() - dry.frames())), 0.0)
        << "the tail is silent";

    ASSERT_EQ(half.samples.size(), room.samples.size());
    double worst = 0.0;
    for (size_t i = 0; i < half.samples.size(); ++i)
    {
        const double drySample = i < dry.samples.size() ? dry.samples[i] : 0.0;
        worst = std::fmax(worst, std::fabs(half.samples[i] - (0.5 * drySample + 0.5 * room.samples[i])));
    }
    EXPECT_LE(worst, 1e-7);
}

TEST_F(CliRender, NormalizeScalesThePeakToTheLevelAskedFor)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Sound room = render({"render", in, path("room.wav")}, path("room.wav"));
    const Sound normalized = render({"render", in, path("norm.wav"), "--normalize", "-6"}, path("norm.wav"));
    const double target = std::pow(10.0, -6.0 / 20.0);
    EXPECT_NEAR(peak(normalized), target, 1e-6);
    ASSERT_EQ(normalized.samples.size(), room.samples.size());
    const double gain = target / peak(room);
    double worst = 0.0;
    for (size_t i = 0; i < room.samples.size(); ++i)
        worst = std::fmax(worst, std::fabs(normalized.samples[i] - gain * room.samples[i]));
    EXPECT_LE(worst, 1e-6) << "one gain for the whole file";
}

// A loud blend goes beyond full scale: a float file keeps the samples, a 24-bit FLAC clips them at
// full scale (never wraps round), and the user is told either way.
TEST_F(CliRender, SamplesBeyondFullScaleAreReportedAndNeverWrapped)
{
    // Dense full-scale noise: the room sums it into peaks well above full scale at Gain 1.
    Sound loud = testSignal(2, 44100, 20000);
    uint32_t state = 7u;
    for (float& s : loud.samples)
    {
        state = state * 1664525u + 1013904223u;
        s = static_cast<float>(static_cast<double>(state >> 8) / 8388608.0 - 1.0) * 0.95f;
    }
    ASSERT_TRUE(writeSound(path("loud.wav"), loud, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    ASSERT_TRUE(writeSound(path("loud.flac"), loud, SF_FORMAT_FLAC | SF_FORMAT_PCM_24));
    const std::vector<std::string> hot = {"--set", "Gain=1", "--mix", "80", "--no-tail"};

    std::vector<std::string> args = {"render", path("loud.wav"), path("out.wav")};
    args.insert(args.end(), hot.begin(), hot.end());
    ToolResult result = run(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("beyond full scale"), std::string::npos) << result.err;
    Sound kept;
    ASSERT_TRUE(readSound(path("out.wav"), kept));
    EXPECT_GT(peak(kept), 1.0) << "a float file keeps what it reported";

    args = {"render", path("loud.flac"), path("out.flac")};
    args.insert(args.end(), hot.begin(), hot.end());
    result = run(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("clipped at full scale"), std::string::npos) << result.err;
    Sound clipped;
    ASSERT_TRUE(readSound(path("out.flac"), clipped));
    ASSERT_EQ(clipped.samples.size(), kept.samples.size());
    for (size_t i = 0; i < kept.samples.size(); ++i)
    {
        if (std::fabs(kept.samples[i]) > 1.0f)
        {
            ASSERT_NEAR(clipped.samples[i], std::copysign(1.0f, kept.samples[i]), 1e-6)
                << "sample " << i << " wrapped";
        }
    }
}

// A batch renders every good file under its own name, reports the bad one and exits non-zero;
// each output is what a single render of that file gives.
TEST_F(CliRender, BatchContinuesPastAFailingFileAndReportsIt)
{
    const std::string first = input("first.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const std::string second = input("second.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 22050, 2000);
    std::ofstream(path("broken.wav")) << "not a sound file\n";
    std::filesystem::create_directory(path("out"));

    const ToolResult result =
        run({"render", first, path("broken.wav"), second, "-o", path("out"), "--preset", "Studio"});

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(path("broken.wav") + ": cannot read"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("1 of 3 files failed"), std::string::npos) << result.err;
    std::set<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(path("out")))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, (std::set<std::string>{"first.wav", "second.flac"}))
        << "no file and no leftover for the failure";
    for (const std::string& name : {std::string("first.wav"), std::string("second.flac")})
    {
        const Sound single = render({"render", path(name), path("single-" + name), "--preset", "Studio"},
                                    path("single-" + name));
        Sound batched;
        ASSERT_TRUE(readSound(path("out/" + name), batched));
        EXPECT_EQ(largestDifference(batched, single), 0.0) << name;
    }
}

} // namespace
} // namespace CliTest
