// `tessaline info` shows what a user needs to write --set and --preset arguments.
#include "CliFixture.h"

#include <fstream>
#include <iterator>

namespace CliTest {
namespace {

TEST_F(CliRender, InfoListsParametersWithRangesAndThePresetNames)
{
    const ToolResult result = run({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text : {"Abs L-R", "Position", "Stereo/Mono", "R90", "Factory Preset", "Studio", "current"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
}

TEST_F(CliRender, InfoShowsWhatAVst2HostSees)
{
    const ToolResult result = run({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const size_t section = result.out.find("VST2\n");
    ASSERT_NE(section, std::string::npos) << result.out;
    const std::string vst2 = result.out.substr(section);
    for (const char* text : {"name: Tessaline", "vendor: Quorvane", "unique id: 0x56255F0C", "VST 2400",
                             "category: room effect", "pins: 2 in, 2 out", "programs: 2",
                             "flags: replacing,chunks\n", "1  Studio"})
        EXPECT_NE(vst2.find(text), std::string::npos) << text << "\n" << vst2;
}

TEST_F(CliRender, InfoReportsABundleThatCannotBeLoaded)
{
    const ToolResult result = run({"--bundle", path("nowhere.vst3"), "info"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("cannot load the plug-in"), std::string::npos) << result.err;
}

// Usage mistakes print the usage on stderr and exit with 2; asking for it prints it on stdout.
TEST_F(CliRender, UsageGoesToStderrOnMistakesAndToStdoutOnRequest)
{
    for (const std::vector<std::string>& args : {std::vector<std::string> {}, {"--bundle"}})
    {
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find("usage: tessaline"), std::string::npos) << result.err;
    }
    const ToolResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: tessaline"), std::string::npos) << help.out;
    const ToolResult renderHelp = run({"render", "--help"});
    EXPECT_EQ(renderHelp.exitCode, 0);
    EXPECT_NE(renderHelp.out.find("--preset NAME"), std::string::npos) << renderHelp.out;
    EXPECT_EQ(files().size(), 0u) << "asking for help renders nothing";
}

// One version everywhere: the tool, the class the factory reports and the bundle's module information.
TEST_F(CliRender, VersionIsTheProjectVersionEverywhere)
{
    const ToolResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tessaline ") + TESSALINE_VERSION + "\n");
    const ToolResult info = run({"info"});
    EXPECT_NE(info.out.find(std::string("  version: ") + TESSALINE_VERSION + "\n"), std::string::npos) << info.out;
    std::ifstream json(std::string(TESSALINE_BUNDLE_PATH) + "/Contents/Resources/moduleinfo.json");
    const std::string text((std::istreambuf_iterator<char>(json)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(std::string("\"Version\": \"") + TESSALINE_VERSION + "\""), std::string::npos) << text;
}

TEST_F(CliRender, UnknownCommandIsAnError)
{
    const ToolResult result = run({"mix"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("unknown command"), std::string::npos) << result.err;
}

} // namespace
} // namespace CliTest
