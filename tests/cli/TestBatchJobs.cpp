// Batches on several plug-in instances at once (--jobs) and job lists (--list).
#include "CliFixture.h"
#include "SameSound.h"

#include <sndfile.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace CliTest {
namespace {

class CliBatch : public CliRender
{
protected:
    // Files of several containers, rates and channel counts.
    std::vector<std::string> corpus()
    {
        return {input("a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 9000),
                input("b.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1, 16000, 4000),
                input("c.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 96000, 12000),
                input("d.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 48000, 7000),
                input("e.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 22050, 3000)};
    }

    std::set<std::string> namesIn(const std::string& name) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path(name)))
            names.insert(entry.path().filename().string());
        return names;
    }
};

// Every file of a batch comes out the same, bit for bit and byte for byte (but for the time
// stamp libsndfile puts in a PEAK chunk), whether the files render one after the other or
// two or four at a time on their own plug-in instances.
TEST_F(CliBatch, TwoJobsWriteTheSameAudioAsOne)
{
    const std::vector<std::string> inputs = corpus();
    for (const char* jobs : {"1", "2", "4"})
    {
        const std::string out = std::string("out") + jobs;
        std::filesystem::create_directory(path(out));
        std::vector<std::string> args{"render"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.insert(args.end(), {"-o", path(out), "--jobs", jobs, "--preset", "Studio", "--mix", "40"});
        const ToolResult result = run(args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }
    for (const std::string name : {"a.wav", "b.flac", "c.wav", "d.aiff", "e.wav"})
    {
        EXPECT_TRUE(sameSound(path("out1/" + name), path("out2/" + name)));
        EXPECT_TRUE(sameSound(path("out1/" + name), path("out4/" + name)));
        EXPECT_TRUE(sameBytesButPeakTime(path("out1/" + name), path("out2/" + name)));
        EXPECT_TRUE(sameBytesButPeakTime(path("out1/" + name), path("out4/" + name)));
    }
}

// A failing file is named while the other jobs still render their files.
TEST_F(CliBatch, AFailingFileIsNamedWhileTheOthersRender)
{
    const std::vector<std::string> inputs = corpus();
    std::ofstream(path("broken.wav")) << "not a sound file\n";
    std::filesystem::create_directory(path("out"));
    std::vector<std::string> args{"render", path("broken.wav")};
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), {"-o", path("out"), "--jobs", "2"});
    const ToolResult result = run(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(path("broken.wav") + ": cannot read"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("1 of 6 files failed"), std::string::npos) << result.err;
    EXPECT_EQ(namesIn("out"), (std::set<std::string>{"a.wav", "b.flac", "c.wav", "d.aiff", "e.wav"}));
}

// A list line carries its own room in the command line's syntax and quoting; each output is what
// the same single render gives, and the options given outside the list apply to every line.
TEST_F(CliBatch, ListLinesCarryTheirOwnRoom)
{
    const std::vector<std::string> inputs = corpus();
    std::filesystem::create_directory(path("with space"));
    std::ofstream(path("jobs.txt")) << "# take, output, room\n"
                                    << "\n"
                                    << inputs[0] << " 'with space/first take.wav' --preset Studio\n"
                                    << inputs[1] << " \"with space/b \\\"2\\\".flac\" --set \"Abs L-R=5.31\""
                                    << " --mix 30%   # a comment\n"
                                    << inputs[2]
                                    << " with\\ space/c.wav --set Position=L90 --set Stereo/Mono=Mono\n";
    for (const bool fromStdin : {false, true})
    {
        const ToolResult result =
            fromStdin ? runTool({"render", "--list", "-", "--no-tail"}, folder, path("jobs.txt"))
                      : run({"render", "--list", path("jobs.txt"), "--no-tail", "-j", "2"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const struct
        {
            std::string output;
            std::vector<std::string> room;
        } singles[] = {
            {"with space/first take.wav", {"--preset", "Studio"}},
            {"with space/b \"2\".flac", {"--set", "Abs L-R=5.31", "--mix", "30"}},
            {"with space/c.wav", {"--set", "Position=L90", "--set", "Stereo/Mono=Mono"}},
        };
        for (size_t k = 0; k < 3; ++k)
        {
            const std::string single =
                path("single" + std::filesystem::path(singles[k].output).extension().string());
            std::vector<std::string> args{"render", inputs[k], single, "--no-tail"};
            args.insert(args.end(), singles[k].room.begin(), singles[k].room.end());
            ASSERT_EQ(run(args).exitCode, 0) << singles[k].output;
            EXPECT_TRUE(sameSound(path(singles[k].output), single));
            std::filesystem::remove(path(singles[k].output));
        }
    }
}

// A list with one bad line renders nothing at all and names the line.
TEST_F(CliBatch, ABadListLineRendersNothingAndIsNamed)
{
    const std::vector<std::string> inputs = corpus();
    const struct
    {
        const char* name;
        std::string line;
        const char* says;
    } cases[] = {
        {"unclosed quote", inputs[2] + " 'out/c.wav", "quote is not closed"},
        {"no output", inputs[2], "needs IN and OUT"},
        {"option in place of OUT", inputs[2] + " --preset Studio", "needs IN and OUT"},
        {"not a job option", inputs[2] + " out/c.wav --block 64", "'--block' is not a job option"},
        {"mix out of range", inputs[2] + " out/c.wav --mix 140", "--mix wants"},
        {"unknown preset", inputs[2] + " out/c.wav --preset Cathedral", "Cathedral"},
        {"unknown setting", inputs[2] + " out/c.wav --set Wetness=3", "Wetness"},
        {"output replaces input", inputs[2] + " " + inputs[2], "would replace the input"},
        {"same output twice", inputs[2] + " out/a.wav", "already renders into"},
    };
    std::filesystem::create_directory(path("out"));
    for (const auto& c : cases)
    {
        std::ofstream(path("jobs.txt")) << inputs[0] << " out/a.wav\n"
                                        << "# a comment\n"
                                        << c.line << "\n"
                                        << inputs[1] << " out/b.flac\n";
        const ToolResult result = run({"render", "--list", "jobs.txt"});
        EXPECT_EQ(result.exitCode, 1) << c.name;
        EXPECT_NE(result.err.find("jobs.txt: line 3: "), std::string::npos) << c.name << ": " << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.name << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << c.name << ": " << result.err;
        EXPECT_TRUE(namesIn("out").empty()) << c.name;
    }
}

// The usage errors of the new options, one clear line each.
TEST_F(CliBatch, JobsAndListUsageErrors)
{
    const std::string in = input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::ofstream(path("empty.txt")) << "# nothing here\n";
    const struct
    {
        std::vector<std::string> args;
        const char* says;
        int exitCode; // 2 for a mistake on the command line, 1 for what it names
    } cases[] = {
        {{"render", in, "-o", ".", "--jobs", "0"}, "--jobs wants a whole number from 1", 2},
        {{"render", in, "-o", ".", "-j", "two"}, "--jobs wants a whole number from 1", 2},
        {{"render", "--list", "missing.txt"}, "cannot read the list 'missing.txt'", 1},
        {{"render", "--list", "empty.txt"}, "the list holds no jobs", 1},
        {{"render", "--list", "empty.txt", in}, "--list takes its inputs and outputs from the list", 2},
        {{"render", "--list", "empty.txt", "-o", "."},
         "--list takes its inputs and outputs from the list",
         2},
    };
    for (const auto& c : cases)
    {
        const ToolResult result = run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.says;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace CliTest
