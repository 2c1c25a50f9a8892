// --room-rate: the room as it sounds at one rate, whatever the file's rate; the output keeps the
// file's rate and length.
#include "CliFixture.h"
#include "SameSound.h"

#include "DecayAnalysis.h"

#include <sndfile.h>

#include <cmath>

namespace CliTest {
namespace {

// A unit impulse at the first frame, then silence.
std::string writeImpulse(const std::string& file, int sampleRate)
{
    Sound impulse;
    impulse.channels = 1;
    impulse.sampleRate = sampleRate;
    impulse.samples.assign(static_cast<size_t>(sampleRate / 10), 0.0f);
    impulse.samples[0] = 1.0f;
    EXPECT_TRUE(writeSound(file, impulse, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    return file;
}

TessalineTool::RoomDecay decayOf(const Sound& rendered)
{
    TessalineTool::ImpulseResponse response;
    response.sampleRate = rendered.sampleRate;
    response.left = rendered.samples;
    response.right = rendered.samples;
    const TessalineTool::RoomDecay decay = TessalineTool::analyseDecay(response);
    EXPECT_TRUE(decay.broadband.valid);
    return decay;
}

// A 16 kHz and a 96 kHz impulse rendered through the room at 48 kHz decay as the 48 kHz render
// does, within 5 % in every octave band the file can hold, where at their own rates they differ
// by far more. The broadband T30 agrees too when the file holds every band (96 kHz); a 16 kHz
// file cannot hold the 8 kHz octave, the fastest to decay, so its broadband T30 is longer.
// Each output keeps its file's rate and is as long as the input and the room's tail at 48 kHz,
// in the file's frames.
TEST_F(CliRender, RoomRateGivesTheSameDecayAtAnyFileRate)
{
    const Sound reference =
        render({"render", writeImpulse(path("48k.wav"), 48000), path("out48k.wav")}, path("out48k.wav"));
    const TessalineTool::RoomDecay expected = decayOf(reference);
    for (const int rate : {16000, 96000})
    {
        const std::string name = std::to_string(rate / 1000) + "k";
        const std::string in = writeImpulse(path(name + ".wav"), rate);
        const Sound own = render({"render", in, path("own" + name + ".wav")}, path("own" + name + ".wav"));
        const Sound at48k = render({"render", in, path("room" + name + ".wav"), "--room-rate", "48000"},
                                   path("room" + name + ".wav"));
        EXPECT_GT(std::fabs(decayOf(own).broadband.t30 / expected.broadband.t30 - 1.0), 0.4)
            << name << ": at the file's own rate the room is another";
        const TessalineTool::RoomDecay converted = decayOf(at48k);
        if (rate > 48000)
        {
            EXPECT_NEAR(converted.broadband.t30 / expected.broadband.t30, 1.0, 0.05) << name;
        }
        size_t bands = 0;
        for (size_t b = 0; b < converted.bands.size(); ++b)
            if (converted.bands[b].fit.valid && !converted.bands[b].aboveNyquist)
            {
                ++bands;
                EXPECT_NEAR(converted.bands[b].fit.t30 / expected.bands[b].fit.t30, 1.0, 0.05)
                    << name << ", " << converted.bands[b].centre << " Hz";
            }
        EXPECT_GE(bands, rate > 48000 ? 7u : 6u) << name;
        EXPECT_EQ(at48k.sampleRate, rate);
        EXPECT_EQ(at48k.channels, 1);
        const auto tail =
            static_cast<size_t>(std::ceil(static_cast<double>(reportedTail(48000)) * rate / 48000));
        EXPECT_EQ(at48k.samples.size(), static_cast<size_t>(rate / 10) + tail) << name;
    }
}

// At the file's own rate --room-rate changes nothing, bit for bit; --no-tail keeps the input's
// length exactly when converting; info tells of the option; a rate out of range is refused.
TEST_F(CliRender, RoomRateKeepsTheLengthAndLeavesTheFilesOwnRateAlone)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 20000);
    ASSERT_EQ(run({"render", in, path("plain.wav")}).exitCode, 0);
    ASSERT_EQ(run({"render", in, path("same.wav"), "--room-rate", "44100"}).exitCode, 0);
    EXPECT_TRUE(sameSound(path("plain.wav"), path("same.wav")));

    const Sound cut = render(
        {"render", in, path("cut.wav"), "--room-rate", "96000", "--no-tail", "--mix", "50"}, path("cut.wav"));
    EXPECT_EQ(cut.sampleRate, 44100);
    EXPECT_EQ(cut.samples.size(), 2u * 20000u);

    const ToolResult info = run({"info"});
    EXPECT_NE(info.out.find("--room-rate HZ"), std::string::npos) << "info states the rate behaviour";

    for (const char* rate : {"0", "7999", "384001", "768000", "48k"})
    {
        const ToolResult result = run({"render", in, path("bad.wav"), "--room-rate", rate});
        EXPECT_EQ(result.exitCode, 2) << rate;
        EXPECT_NE(result.err.find("--room-rate wants a sample rate"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(path("bad.wav")));
    }
}

// --any-rate renders through the rate-true class: a 48 kHz and a 96 kHz file get the room as it
// sounds at 44.1 kHz, band for band within 3 %, where the original class gives a room nearly
// half as long at 96 kHz; at 44.1 kHz the two classes give the same file. Every command that
// opens the plug-in takes the option, the usage names it, and it works beside --room-rate.
TEST_F(CliRender, AnyRateGivesTheSameRoomAtEveryFileRate)
{
    const std::string in44 = writeImpulse(path("44k.wav"), 44100);
    const TessalineTool::RoomDecay expected =
        decayOf(render({"render", in44, path("out44k.wav")}, path("out44k.wav")));
    ASSERT_EQ(run({"render", in44, path("any44k.wav"), "--any-rate"}).exitCode, 0);
    EXPECT_TRUE(sameSound(path("out44k.wav"), path("any44k.wav")));
    for (const int rate : {48000, 96000})
    {
        const std::string name = std::to_string(rate / 1000) + "k";
        const std::string in = writeImpulse(path(name + ".wav"), rate);
        const TessalineTool::RoomDecay any = decayOf(
            render({"render", in, path("any" + name + ".wav"), "--any-rate"}, path("any" + name + ".wav")));
        for (size_t b = 0; b < any.bands.size(); ++b)
        {
            if (expected.bands[b].fit.valid)
            {
                EXPECT_NEAR(any.bands[b].fit.t30 / expected.bands[b].fit.t30, 1.0, 0.03)
                    << name << ", " << any.bands[b].centre << " Hz";
            }
        }
    }
    const TessalineTool::RoomDecay original =
        decayOf(render({"render", path("96k.wav"), path("own96k.wav")}, path("own96k.wav")));
    EXPECT_LT(original.broadband.t30 / expected.broadband.t30, 0.7) << "the original room shrinks at 96 kHz";

    const Sound both =
        render({"render", path("96k.wav"), path("both.wav"), "--any-rate", "--room-rate", "48000"},
               path("both.wav"));
    EXPECT_NEAR(decayOf(both).broadband.t30 / expected.broadband.t30, 1.0, 0.05);
    const ToolResult ir = run({"ir", "--any-rate", "--rate", "96000", path("ir.wav")});
    EXPECT_EQ(ir.exitCode, 0) << ir.err;
    EXPECT_NE(run({"render", "--help"}).out.find("--any-rate"), std::string::npos);
    EXPECT_NE(run({"info"}).out.find("\"Tessaline Any Rate\" (`--any-rate`)"), std::string::npos);
}

} // namespace
} // namespace CliTest
