// `tessaline info` shows what a user needs to write --set and --preset arguments.
#include "CliFixture.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <map>

namespace CliTest {
namespace {

TEST_F(CliRender, InfoListsParametersWithRangesAndThePresetNames)
{
    const ToolResult result = run({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text :
         {"Abs L-R", "Position", "Stereo/Mono", "R90", "Factory Preset", "Studio", "current"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
}

TEST_F(CliRender, InfoShowsWhatAVst2HostSees)
{
    const ToolResult result = run({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const size_t section = result.out.find("VST2\n");
    ASSERT_NE(section, std::string::npos) << result.out;
    const std::string vst2 = result.out.substr(section);
    for (const char* text :
         {"name: Tessaline", "vendor: Quorvane", "unique id: 0x56255F0C", "VST 2400", "category: room effect",
          "pins: 2 in, 2 out", "programs: 2", "flags: replacing,chunks,editor\n", "1  Studio"})
        EXPECT_NE(vst2.find(text), std::string::npos) << text << "\n" << vst2;
}

// Scripts get the same facts as one JSON document: identity, parameters with ranges and list
// entries, presets.
TEST_F(CliRender, InfoJsonDescribesTheBundleForScripts)
{
    const ToolResult result = run({"info", "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const nlohmann::json info = nlohmann::json::parse(result.out, nullptr, false);
    ASSERT_FALSE(info.is_discarded()) << result.out;
    EXPECT_EQ(info["bundle"], TESSALINE_BUNDLE_PATH);
    EXPECT_EQ(info["factory"]["vendor"], "Quorvane");
    ASSERT_EQ(info["classes"].size(), 2u);
    EXPECT_EQ(info["classes"][0]["name"], "Tessaline");
    EXPECT_EQ(info["classes"][0]["cid"].get<std::string>().size(), 32u);
    EXPECT_EQ(info["classes"][1]["name"], "Tessaline Any Rate");
    EXPECT_EQ(info["classes"][1]["cid"].get<std::string>().size(), 32u);
    EXPECT_NE(info["classes"][1]["cid"], info["classes"][0]["cid"]);
    EXPECT_EQ(info["presets"], nlohmann::json::array({"Factory Preset", "Studio"}));
    std::map<std::string, nlohmann::json> byTitle;
    for (const auto& parameter : info["parameters"])
        byTitle[parameter["title"]] = parameter;
    ASSERT_EQ(byTitle.count("Gain"), 1u);
    EXPECT_EQ(byTitle["Gain"]["min"], 0.0);
    EXPECT_EQ(byTitle["Gain"]["max"], 1.0);
    EXPECT_EQ(byTitle["Gain"]["id"], 0);
    ASSERT_EQ(byTitle["Position"]["entries"].size(), 11u);
    EXPECT_EQ(byTitle["Position"]["entries"][0], "Center");
    EXPECT_EQ(byTitle["Stereo/Mono"]["entries"], nlohmann::json::array({"Stereo", "Mono"}));
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
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--bundle"}})
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
    // Every command explains every option it takes.
    const std::pair<const char*, std::vector<const char*>> commands[] = {
        {"render",
         {"--preset NAME", "--set PARAM=VALUE", "--mix PERCENT", "--normalize DBFS", "-o, --output-dir DIR",
          "--block N", "--no-tail", "--demo"}},
        {"ir", {"--preset NAME", "--set PARAM=VALUE", "--rate HZ", "--length SECONDS", "32-bit float"}},
        {"plot",
         {"--preset NAME", "--set PARAM=VALUE", "--size WxH", "--rate HZ", "--length SECONDS", "T30"}},
        {"info", {"--json"}}};
    for (const auto& [command, options] : commands)
    {
        const ToolResult usage = run({command, "--help"});
        EXPECT_EQ(usage.exitCode, 0) << command;
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        for (const char* option : options)
            EXPECT_NE(usage.out.find(option), std::string::npos) << command << " " << option;
    }
    EXPECT_EQ(files().size(), 0u) << "asking for help renders nothing";
}

// One version everywhere: the tool, the class the factory reports and the bundle's module information.
TEST_F(CliRender, VersionIsTheProjectVersionEverywhere)
{
    const ToolResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tessaline ") + TESSALINE_VERSION + "\n");
    const ToolResult info = run({"info"});
    EXPECT_NE(info.out.find(std::string("  version: ") + TESSALINE_VERSION + "\n"), std::string::npos)
        << info.out;
    std::ifstream json(std::string(TESSALINE_BUNDLE_PATH) + "/Contents/Resources/moduleinfo.json");
    const std::string text((std::istreambuf_iterator<char>(json)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(std::string("\"Version\": \"") + TESSALINE_VERSION + "\""), std::string::npos)
        << text;
}

TEST_F(CliRender, UnknownCommandIsAnError)
{
    const ToolResult result = run({"mix"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("unknown command"), std::string::npos) << result.err;
}

} // namespace
} // namespace CliTest
