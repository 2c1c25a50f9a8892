// Where a render's bytes go and in what container: OUT's extension names the container, a device
// or FIFO is written into rather than replaced, a link's file is replaced and the link kept, "-"
// is standard input and output, a read-only OUT is refused and a replaced one keeps its
// permission bits, and a WAV or AIFF too big for 32-bit sizes never comes out silently corrupt.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace CliTest {
namespace {

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct NamedContainer
{
    const char* name;
    const char* outName;
    std::vector<std::string> extra; // further arguments
    int expectedFormat;
};
inline void PrintTo(const NamedContainer& c, std::ostream* os) { *os << c.name; }

class OutputContainers : public CliRender, public ::testing::WithParamInterface<NamedContainer>
{};

// A 16-bit WAV input at 48 kHz rendered into names of every container tessaline writes.
TEST_P(OutputContainers, TheNameOrTypeChoosesTheContainer)
{
    const NamedContainer& c = GetParam();
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 2000);
    std::vector<std::string> args = {"render", in, path(c.outName)};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ToolResult result = run(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sound rendered;
    ASSERT_TRUE(readSound(path(c.outName), rendered));
    EXPECT_EQ(rendered.format, c.expectedFormat);
    EXPECT_GE(rendered.frames(), 2000);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OutputContainers,
    ::testing::Values(NamedContainer{"Flac", "out.flac", {}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
                      NamedContainer{"UpperCaseAiff", "out.AIFF", {}, SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
                      NamedContainer{"Aif", "out.aif", {}, SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
                      NamedContainer{"W64", "out.w64", {}, SF_FORMAT_W64 | SF_FORMAT_FLOAT},
                      NamedContainer{"Rf64", "out.rf64", {}, SF_FORMAT_RF64 | SF_FORMAT_FLOAT},
                      NamedContainer{"Oga", "out.oga", {}, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                      NamedContainer{"Opus", "out.opus", {}, SF_FORMAT_OGG | SF_FORMAT_OPUS},
                      NamedContainer{"NoExtensionKeepsTheInputs", "out", {}, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                      NamedContainer{"TypeOverridesTheName",
                                     "out.data",
                                     {"--type", "flac"},
                                     SF_FORMAT_FLAC | SF_FORMAT_PCM_24}),
    TestSupport::caseName<NamedContainer>);

TEST_F(CliRender, AnExtensionThatNamesNoContainerIsExplainedAndNothingWritten)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const std::set<std::string> before = files();
    for (const char* name : {"out.mp3", "out.wavv"})
    {
        const ToolResult result = run({"render", in, path(name)});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("names no container tessaline writes"), std::string::npos) << result.err;
        EXPECT_EQ(files(), before);
    }
    // The impulse response takes the same names: FLAC is fine now.
    const ToolResult ir = run({"ir", path("ir.flac"), "--length", "0.1"});
    ASSERT_EQ(ir.exitCode, 0) << ir.err;
    Sound response;
    ASSERT_TRUE(readSound(path("ir.flac"), response));
    EXPECT_EQ(response.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST_F(CliRender, DevicesAndFifosAreWrittenIntoNotReplaced)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const Sound reference = render({"render", in, path("reference.wav")}, path("reference.wav"));
    const std::string expected = bytesOf(path("reference.wav"));

    // A character device, directly and through a link.
    ASSERT_EQ(symlink("/dev/null", path("null-link").c_str()), 0);
    for (const std::string& out : {std::string("/dev/null"), path("null-link")})
    {
        const ToolResult result = run({"render", in, out, "--type", "wav"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        struct stat status
        {};
        ASSERT_EQ(stat("/dev/null", &status), 0);
        EXPECT_TRUE(S_ISCHR(status.st_mode)) << out;
        struct stat link
        {};
        ASSERT_EQ(lstat(path("null-link").c_str(), &link), 0);
        EXPECT_TRUE(S_ISLNK(link.st_mode));
    }

    // A FIFO: its reader gets the whole file, headers complete.
    const std::string fifo = path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::future<std::string> reader = std::async(std::launch::async, [&] { return bytesOf(fifo); });
    const ToolResult result = run({"render", in, fifo, "--type", "wav"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(reader.get(), expected);
    struct stat status
    {};
    ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(CliRender, ALinkKeepsPointingAtTheFileItNames)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(mkdir(path("real").c_str(), 0755), 0);
    std::ofstream(path("real/take.wav")) << "old contents";
    ASSERT_EQ(symlink("real/take.wav", path("take.wav").c_str()), 0);
    ASSERT_EQ(symlink("real/new.wav", path("dangling.wav").c_str()), 0);
    for (const char* name : {"take.wav", "dangling.wav"})
    {
        const ToolResult result = run({"render", in, path(name)});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        struct stat link
        {};
        ASSERT_EQ(lstat(path(name).c_str(), &link), 0);
        EXPECT_TRUE(S_ISLNK(link.st_mode)) << name;
    }
    Sound take, created;
    EXPECT_TRUE(readSound(path("real/take.wav"), take));
    EXPECT_TRUE(readSound(path("real/new.wav"), created));
    EXPECT_EQ(take.samples, created.samples);
    EXPECT_EQ(files().count(".tsl-"), 0u);
}

TEST_F(CliRender, DashIsStandardInputAndOutput)
{
    const std::string in = input("in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    const Sound reference = render({"render", in, path("reference.flac")}, path("reference.flac"));

    // Standard output: the container of the input (or --type); the summary goes to stderr.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", in, "-"},
          std::vector<std::string>{"render", in, "-", "--type", "w64"}})
    {
        const ToolResult result = run(args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("wrote standard output"), std::string::npos) << result.err;
        std::ofstream(path("from-stdout"), std::ios::binary) << result.out;
        Sound piped;
        ASSERT_TRUE(readSound(path("from-stdout"), piped));
        EXPECT_EQ(piped.format,
                  args.size() == 3 ? SF_FORMAT_FLAC | SF_FORMAT_PCM_24 : SF_FORMAT_W64 | SF_FORMAT_FLOAT);
        EXPECT_LE(largestDifference(piped, reference), 1e-6);
    }

    // Standard input, into a file.
    const ToolResult fromStdin = runTool({"render", "-", path("from-stdin.flac")}, folder, in);
    ASSERT_EQ(fromStdin.exitCode, 0) << fromStdin.err;
    Sound piped;
    ASSERT_TRUE(readSound(path("from-stdin.flac"), piped));
    EXPECT_EQ(piped.samples, reference.samples);
}

TEST_F(CliRender, ReplacingKeepsPermissionBitsAndAReadOnlyOutputIsRefused)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const std::string shared = path("shared.wav");
    std::ofstream(shared) << "old";
    ASSERT_EQ(chmod(shared.c_str(), 0640), 0);
    ASSERT_EQ(run({"render", in, shared}).exitCode, 0);
    struct stat status
    {};
    ASSERT_EQ(stat(shared.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    const std::string locked = path("locked.wav");
    std::ofstream(locked) << "keep me";
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    const std::set<std::string> before = files();
    const ToolResult result = run({"render", in, locked});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("read-only"), std::string::npos) << result.err;
    EXPECT_EQ(bytesOf(locked), "keep me");
    EXPECT_EQ(files(), before);
}

TEST_F(CliRender, TheLongestLegalOutputNamesWork)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    for (size_t length : {240u, 255u})
    {
        const std::string name = std::string(length - 4, 'n') + ".wav";
        const ToolResult result = run({"render", in, path(name)});
        EXPECT_EQ(result.exitCode, 0) << length << ": " << result.err;
        Sound rendered;
        EXPECT_TRUE(readSound(path(name), rendered)) << length;
    }
}

// A limit of a few kilobytes stands in for 4 GiB: what passes it is RF64 (WAV) or refused
// before anything is written (AIFF), and reads back whole.
TEST_F(CliRender, WavPastTheSizeLimitBecomesRf64AndAiffIsRefused)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 4000);
    const std::vector<std::string> smallLimit = {"TESSALINE_SIZE_LIMIT=20000"};
    const ToolResult wav =
        runTool({"render", in, path("big.wav"), "--no-tail"}, folder, "/dev/null", smallLimit);
    ASSERT_EQ(wav.exitCode, 0) << wav.err;
    EXPECT_EQ(bytesOf(path("big.wav")).substr(0, 4), "RF64");
    Sound big;
    ASSERT_TRUE(readSound(path("big.wav"), big));
    EXPECT_EQ(big.frames(), 4000);

    const ToolResult plain = run({"render", in, path("small.wav"), "--no-tail"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(bytesOf(path("small.wav")).substr(0, 4), "RIFF");
    Sound small;
    ASSERT_TRUE(readSound(path("small.wav"), small));
    EXPECT_EQ(small.samples, big.samples);

    const std::set<std::string> before = files();
    const ToolResult aiff =
        runTool({"render", in, path("big.aiff"), "--no-tail"}, folder, "/dev/null", smallLimit);
    EXPECT_EQ(aiff.exitCode, 1);
    // The sizes in bytes: a render just past the limit would round to it in GiB.
    EXPECT_NE(aiff.err.find("an AIFF file holds at most 20000 bytes (0.0 GiB) and this render needs about"),
              std::string::npos)
        << aiff.err;
    EXPECT_EQ(files(), before);
}

TEST_F(CliRender, SamplesThatAreNotNumbersAreSilenceOnTheDryPathAndCounted)
{
    Sound dry = testSignal(2, 48000, 4000);
    dry.samples[100] = std::numeric_limits<float>::quiet_NaN();
    dry.samples[501] = std::numeric_limits<float>::infinity();
    dry.samples[777] = -std::numeric_limits<float>::infinity();
    ASSERT_TRUE(writeSound(path("bad.wav"), dry, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    Sound clean = dry;
    clean.samples[100] = clean.samples[501] = clean.samples[777] = 0.0f;
    ASSERT_TRUE(writeSound(path("clean.wav"), clean, SF_FORMAT_WAV | SF_FORMAT_FLOAT));

    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--mix", "30"},
          std::vector<std::string>{"--mix", "30", "--normalize", "-1"}})
    {
        std::vector<std::string> bad = {"render", path("bad.wav"), path("bad-out.wav")};
        std::vector<std::string> good = {"render", path("clean.wav"), path("clean-out.wav")};
        bad.insert(bad.end(), options.begin(), options.end());
        good.insert(good.end(), options.begin(), options.end());
        const ToolResult result = run(bad);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("holds 3 samples that are not numbers"), std::string::npos) << result.err;
        ASSERT_EQ(run(good).exitCode, 0);
        Sound out, expected;
        ASSERT_TRUE(readSound(path("bad-out.wav"), out));
        ASSERT_TRUE(readSound(path("clean-out.wav"), expected));
        EXPECT_EQ(out.samples, expected.samples);
        if (options.size() > 2)
        {
            EXPECT_NE(result.out.find("peak normalized to -1 dBFS"), std::string::npos) << result.out;
            EXPECT_NEAR(20.0 * std::log10(peak(out)), -1.0, 1e-3);
        }
    }

    // Normalising silence says so, and never claims a normalisation.
    ASSERT_TRUE(writeSound(path("silence.wav"), Sound{0, 2, 48000, std::vector<float>(2000, 0.0f)},
                           SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    const ToolResult silent =
        run({"render", path("silence.wav"), path("silent-out.wav"), "--normalize", "-1"});
    ASSERT_EQ(silent.exitCode, 0) << silent.err;
    EXPECT_NE(silent.err.find("the output is silent"), std::string::npos) << silent.err;
    EXPECT_EQ(silent.out.find("normalized"), std::string::npos) << silent.out;
}

struct CutOff
{
    const char* name;
    const char* file;
    int format;
    const char* message;
    int exitCode; // a FLAC stream that breaks off is a decoding error: named, with its reason
};
inline void PrintTo(const CutOff& c, std::ostream* os) { *os << c.name; }

class CutOffInputs : public CliRender, public ::testing::WithParamInterface<CutOff>
{};

// A WAV or AIFF file cut off in the middle renders what it holds, and the user hears how much was
// missing; a cut FLAC stream fails with the file's name and the decoder's reason.
TEST_P(CutOffInputs, RenderWhatIsThereOrFailAndSaySo)
{
    const CutOff& c = GetParam();
    const std::string whole = input(std::string("whole-") + c.file, c.format, 2, 48000, 48000);
    const std::string bytes = bytesOf(whole);
    std::ofstream(path(c.file), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const ToolResult result = run({"render", path(c.file), path("out.wav"), "--no-tail"});
    ASSERT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_NE(result.err.find(path(c.file)), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    Sound rendered;
    EXPECT_EQ(readSound(path("out.wav"), rendered), c.exitCode == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CutOffInputs,
    ::testing::Values(CutOff{"Wav", "cut.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, "is cut off", 0},
                      CutOff{"Aiff", "cut.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, "is cut off", 0},
                      CutOff{"Flac", "cut.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "failed after 0.", 1}),
    TestSupport::caseName<CutOff>);

TEST_F(CliRender, OptionErrorsAreOneLineAndAPointerToHelp)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", in, "out.wav", "--mix", "150"},
          std::vector<std::string>{"ir", "ir.wav", "--rate", "1"},
          std::vector<std::string>{"plot", "room.png", "--bogus"}})
    {
        const ToolResult result = run(args);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_EQ(result.err.find("usage:"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("see tessaline " + args[0] + " --help\n"), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    }
}

TEST_F(CliRender, DoubleDashEndsTheOptions)
{
    input("-in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const ToolResult result = run({"render", "--no-tail", "--", "-in.wav", "-out.wav"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sound rendered;
    EXPECT_TRUE(readSound(path("-out.wav"), rendered));
}

TEST_F(CliRender, RenderTakesTheSampleRatesTheImpulseResponseTakes)
{
    input("slow.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 4000, 400);
    const ToolResult result = run({"render", path("slow.wav"), path("out.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("from 8000 to 384000 Hz"), std::string::npos) << result.err;
    input("lowest.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 400);
    EXPECT_EQ(run({"render", path("lowest.wav"), path("out.wav"), "--no-tail"}).exitCode, 0);
}

} // namespace
} // namespace CliTest
