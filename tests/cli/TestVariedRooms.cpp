// Varied rooms over a batch (--vary, --seed) and their record, rooms.jsonl.
#include "CliFixture.h"
#include "SameSound.h"

#include <nlohmann/json.hpp>
#include <sndfile.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace CliTest {
namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class CliVary : public CliRender
{
protected:
    void SetUp() override
    {
        CliRender::SetUp();
        for (int k = 0; k < 6; ++k)
            inputs.push_back(input("take" + std::to_string(k) + ".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1,
                                   16000, 2000 + 300 * k));
    }

    // Renders the takes into a new folder with the variation below; the outputs' settings by name.
    std::map<std::string, std::vector<std::string>> renderVaried(const std::string& out, const char* seed,
                                                                 const char* jobs)
    {
        std::filesystem::create_directory(path(out));
        std::vector<std::string> args{"render"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.insert(args.end(), {"-o", path(out), "--no-tail", "--set", "Gain=0.4", "--vary", "Abs L-R=2:9",
                                 "--vary", "Abs F-B = 0.5 : 1.5", "--vary", "Position=L90,R90,Center",
                                 "--seed", seed, "--jobs", jobs});
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::map<std::string, std::vector<std::string>> rooms;
        std::istringstream log(textOf(path(out + "/rooms.jsonl")));
        for (std::string line; std::getline(log, line);)
        {
            const auto room = nlohmann::json::parse(line);
            EXPECT_TRUE(room.at("seed").is_number());
            rooms[std::filesystem::path(room.at("output").get<std::string>()).filename().string()] =
                room.at("set").get<std::vector<std::string>>();
        }
        return rooms;
    }

    std::vector<std::string> inputs;
};

// The same seed gives every output the same room with one job or two (and the same audio);
// another seed gives other rooms; every drawn value lies inside what was asked for.
TEST_F(CliVary, OneSeedGivesTheSameRoomsWhateverTheJobs)
{
    const auto one = renderVaried("one", "11", "1");
    const auto two = renderVaried("two", "11", "2");
    const auto other = renderVaried("other", "12", "2");
    ASSERT_EQ(one.size(), inputs.size());
    EXPECT_EQ(one, two);
    EXPECT_NE(one, other);
    std::set<std::string> distinct;
    for (const auto& rooms : {one, other})
        for (const auto& [name, settings] : rooms)
        {
            ASSERT_EQ(settings.size(), 4u) << name;
            EXPECT_EQ(settings[0], "Gain=0.4") << "the fixed setting comes first";
            const double absLr = std::stod(settings[1].substr(settings[1].find('=') + 1));
            const double absFb = std::stod(settings[2].substr(settings[2].find('=') + 1));
            EXPECT_EQ(settings[1].rfind("Abs L-R=", 0), 0u);
            EXPECT_TRUE(absLr >= 2.0 && absLr <= 9.0) << settings[1];
            EXPECT_EQ(settings[2].rfind("Abs F-B=", 0), 0u);
            EXPECT_TRUE(absFb >= 0.5 && absFb <= 1.5) << settings[2];
            EXPECT_TRUE(settings[3] == "Position=L90" || settings[3] == "Position=R90"
                        || settings[3] == "Position=Center")
                << settings[3];
            distinct.insert(settings[1]);
        }
    EXPECT_EQ(distinct.size(), 2 * inputs.size()) << "every output draws its own value";
    for (const auto& [name, settings] : one)
        EXPECT_TRUE(sameSound(path("one/" + name), path("two/" + name)));
}

// rooms.jsonl read back by --list renders the same rooms again, bit for bit.
TEST_F(CliVary, TheRoomsLogRendersTheSameRoomsAgain)
{
    const auto rooms = renderVaried("first", "5", "2");
    std::filesystem::create_directory(path("again"));
    std::ofstream(path("again.jsonl"))
        << replaced(textOf(path("first/rooms.jsonl")), path("first/"), path("again/"));
    const ToolResult result = run({"render", "--list", "again.jsonl", "--no-tail"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const auto& [name, settings] : rooms)
        EXPECT_TRUE(sameSound(path("again/" + name), path("first/" + name)));
    EXPECT_FALSE(std::filesystem::exists(path("again/rooms.jsonl"))) << "nothing varied, nothing to record";
}

// The settings each output got, by output name, from rooms.jsonl files.
std::map<std::string, std::vector<std::string>> roomsIn(const std::vector<std::string>& files)
{
    std::map<std::string, std::vector<std::string>> rooms;
    for (const std::string& file : files)
    {
        std::istringstream log(textOf(file));
        for (std::string line; std::getline(log, line);)
        {
            const auto room = nlohmann::json::parse(line);
            rooms[room.at("output").get<std::string>()] = room.at("set").get<std::vector<std::string>>();
        }
    }
    return rooms;
}

// A list split in two with `split` and rendered by GNU parallel, each share recording its own
// rooms, gives every output the room and the audio of the whole list rendered at once.
TEST_F(CliVary, ASplitListGivesEachOutputTheSameRoom)
{
    if (std::system("command -v parallel >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU parallel is not installed";
    std::ofstream list(path("jobs.txt"));
    for (size_t k = 0; k < inputs.size(); ++k)
        list << "take" << k << ".wav out/take" << k << ".wav\n";
    list.close();
    const std::vector<std::string> vary{
        "--seed", "3", "--no-tail", "--vary", "Abs L-R=2:9", "--vary", "Position=L90,R90,Center"};
    std::filesystem::create_directory(path("out"));
    std::vector<std::string> whole{"render", "--list", "jobs.txt", "--rooms", "whole.jsonl"};
    whole.insert(whole.end(), vary.begin(), vary.end());
    ASSERT_EQ(run(whole).exitCode, 0);
    std::filesystem::rename(path("out"), path("whole"));
    std::filesystem::create_directory(path("out"));

    const std::string command =
        "cd '" + folder + "' && split -n l/2 jobs.txt part. && parallel --will-cite -q -j 2 '"
        + TESSALINE_TOOL_PATH + "' render --list {} --rooms {}.jsonl --seed 3 --no-tail"
        + " --vary 'Abs L-R=2:9' --vary Position=L90,R90,Center ::: part.aa part.ab" + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto split = roomsIn({path("part.aa.jsonl"), path("part.ab.jsonl")});
    EXPECT_EQ(split, roomsIn({path("whole.jsonl")}));
    EXPECT_EQ(split.size(), inputs.size());
    for (size_t k = 0; k < inputs.size(); ++k)
    {
        const std::string name = "take" + std::to_string(k) + ".wav";
        EXPECT_TRUE(sameSound(path("out/" + name), path("whole/" + name)));
    }
}

// Bad variations and bad JSON jobs: one clear line, nothing written.
TEST_F(CliVary, BadVariationsAndJsonJobsAreRefused)
{
    std::filesystem::create_directory(path("out"));
    const std::string take = inputs[0];
    std::ofstream(path("bad.jsonl")) << "{\"input\": \"" << take << "\", \"output\": \"out/a.wav\"}\n"
                                     << "{\"input\": \"" << take
                                     << "\", \"output\": \"out/b.wav\", \"mix\": \"half\"}\n";
    std::ofstream(path("broken.jsonl")) << "{\"input\": \"" << take << "\", \"output\": \"out/a.wav\"\n";
    const struct
    {
        std::vector<std::string> args;
        const char* says;
        int exitCode; // 2 for a mistake on the command line, 1 for what it names
    } cases[] = {
        {{"render", take, "-o", "out", "--vary", "Abs L-R=9:2"}, "LOW at most HIGH", 2},
        {{"render", take, "-o", "out", "--vary", "Abs L-R=2:x"}, "LOW at most HIGH", 2},
        {{"render", take, "-o", "out", "--vary", "Abs L-R=2:99"}, "outside the range", 1},
        {{"render", take, "-o", "out", "--vary", "Position=L90,Up"}, "'Up' is not a value", 1},
        {{"render", take, "-o", "out", "--vary", "Position=L90,"}, "--vary wants PARAM", 2},
        {{"render", take, "-o", "out", "--vary", "=1:2"}, "--vary wants PARAM", 2},
        {{"render", take, "-o", "out", "--vary", "Depth=1:2"}, "unknown parameter", 1},
        {{"render", take, "out/a.wav", "--vary", "Abs L-R=2:9"}, "--vary needs a batch", 2},
        {{"render", take, "-o", "out", "--vary", "Abs L-R=2:9", "--seed", "-1"},
         "--seed wants a whole number",
         2},
        {{"render", take, "-o", "out", "--rooms", "r.jsonl"}, "--rooms records what --vary draws", 2},
        {{"render", "--list", "bad.jsonl"}, "bad.jsonl: line 2: \"mix\" wants a percentage", 1},
        {{"render", "--list", "broken.jsonl"}, "broken.jsonl: line 1: not a JSON object", 1},
    };
    for (const auto& c : cases)
    {
        const ToolResult result = run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.says;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(path("out"))) << c.says;
    }
}

} // namespace
} // namespace CliTest
