// `tessaline info` shows what a user needs to write --set and --preset arguments.
#include "CliFixture.h"

namespace CliTest {
namespace {

TEST_F(CliRender, InfoListsParametersWithRangesAndThePresetNames)
{
    const ToolResult result = run({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text : {"Abs L-R", "Position", "Stereo/Mono", "R90", "Factory Preset", "Studio", "current"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
}

TEST_F(CliRender, UnknownCommandIsAnError)
{
    const ToolResult result = run({"mix"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("unknown command"), std::string::npos) << result.err;
}

} // namespace
} // namespace CliTest
