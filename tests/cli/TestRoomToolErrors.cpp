// The options of mix, normalize, batch, ir, plot and info: every mistake exits non-zero with a
// message that names it and leaves no file behind.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <sndfile.h>

namespace CliTest {
namespace {

struct OptionError
{
    const char* name;
    std::vector<std::string> args; // "@" prefixes a name in the scratch folder
    const char* message;           // part of what stderr must say
};

inline void PrintTo(const OptionError& c, std::ostream* os) { *os << c.name; }

class RoomToolErrors : public CliRender, public ::testing::WithParamInterface<OptionError>
{
protected:
    void SetUp() override
    {
        CliRender::SetUp();
        input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    }
};

TEST_P(RoomToolErrors, ExitWithAMessageAndWriteNothing)
{
    const OptionError& c = GetParam();
    const std::set<std::string> before = files();
    std::vector<std::string> args;
    for (const std::string& arg : c.args)
        args.push_back(!arg.empty() && arg[0] == '@' ? path(arg.substr(1)) : arg);

    const ToolResult result = run(args);

    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << "stderr: " << result.err;
    EXPECT_EQ(files(), before) << "no output and no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoomToolErrors,
    ::testing::Values(
        OptionError{"MixAbove100",
                    {"render", "@in.wav", "@out.wav", "--mix", "150"},
                    "--mix wants a percentage from 0 to 100"},
        OptionError{"MixNegative", {"render", "@in.wav", "@out.wav", "--mix", "-5"}, "not '-5'"},
        OptionError{"MixNotANumber", {"render", "@in.wav", "@out.wav", "--mix", "half"}, "not 'half'"},
        OptionError{"MixWithoutValue", {"render", "@in.wav", "@out.wav", "--mix"}, "--mix needs a value"},
        OptionError{
            "NormalizeAboveFullScale", {"render", "@in.wav", "@out.wav", "--normalize", "3"}, "0 or below"},
        OptionError{
            "NormalizeNotANumber", {"render", "@in.wav", "@out.wav", "--normalize", "loud"}, "--normalize"},
        OptionError{
            "OutputFolderMissing", {"render", "@in.wav", "-o", "@no/such/folder"}, "cannot write into"},
        OptionError{"OutputFolderIsAFile", {"render", "@in.wav", "-o", "@in.wav"}, "it is not a folder"},
        OptionError{
            "BatchIntoTheInputsOwnFolder", {"render", "@in.wav", "-o", "@."}, "its output would replace it"},
        OptionError{"OutputFolderWithoutInput", {"render", "-o", "@."}, "at least one input"},
        OptionError{"OutputFolderWithDemo", {"render", "--demo", "-o", "@."}, "do not go together"},
        OptionError{"RenderUnknownPresetInBatch",
                    {"render", "@in.wav", "-o", "@.", "--preset", "Hall"},
                    "unknown preset \"Hall\""},
        OptionError{
            "IrUnknownPreset", {"ir", "@ir.wav", "--preset", "Cathedral"}, "unknown preset \"Cathedral\""},
        OptionError{"IrUnknownParameter", {"ir", "@ir.wav", "--set", "Size=3"}, "unknown parameter \"Size\""},
        OptionError{"IrWithoutOutput", {"ir", "--preset", "Studio"}, "name one output file"},
        OptionError{"IrIntoUnknownContainer", {"ir", "@ir.mp3"}, ".mp3 names no container"},
        OptionError{"IrUnknownType", {"ir", "@ir.wav", "--type", "mp3"}, "--type wants one of"},
        OptionError{"IrRateTooLow", {"ir", "@ir.wav", "--rate", "100"}, "--rate wants a sample rate"},
        OptionError{"IrLengthZero", {"ir", "@ir.wav", "--length", "0"}, "--length wants seconds"},
        OptionError{"IrUnwritableFolder", {"ir", "@no/such/folder/ir.wav"}, "cannot write into"},
        OptionError{"PlotUnknownPreset", {"plot", "@room.png", "--preset", "Cathedral"}, "unknown preset"},
        OptionError{
            "PlotSizeTooSmall", {"plot", "@room.png", "--size", "100x100"}, "--size wants WIDTHxHEIGHT"},
        OptionError{
            "PlotSizeMalformed", {"plot", "@room.png", "--size", "wide"}, "--size wants WIDTHxHEIGHT"},
        OptionError{"PlotUnwritableFolder", {"plot", "@in.wav/room.png"}, "cannot write into"},
        OptionError{"IrHasNoSizeOption", {"ir", "@ir.wav", "--size", "800x600"}, "unknown option '--size'"},
        OptionError{"InfoUnknownOption", {"info", "--xml"}, "unknown option '--xml'"}),
    TestSupport::caseName<OptionError>);

} // namespace
} // namespace CliTest
