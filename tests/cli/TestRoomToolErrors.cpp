// The options of mix, normalize, batch, ir, plot and info: every mistake exits non-zero with a
// message that names it and leaves no file behind.
#include "CliErrorCase.h"
#include "support/CaseNames.h"

namespace CliTest {
namespace {

class RoomToolErrors : public CliErrors
{};

TEST_P(RoomToolErrors, ExitWithAMessageAndWriteNothing) { expectRefused(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Cases, RoomToolErrors,
    ::testing::Values(
        ErrorCase{"MixAbove100",
                  {"render", "@in.wav", "@out.wav", "--mix", "150"},
                  "--mix wants a percentage from 0 to 100"},
        ErrorCase{"MixNegative", {"render", "@in.wav", "@out.wav", "--mix", "-5"}, "not '-5'"},
        ErrorCase{"MixNotANumber", {"render", "@in.wav", "@out.wav", "--mix", "half"}, "not 'half'"},
        ErrorCase{"MixWithoutValue", {"render", "@in.wav", "@out.wav", "--mix"}, "--mix needs a value"},
        ErrorCase{
            "NormalizeAboveFullScale", {"render", "@in.wav", "@out.wav", "--normalize", "3"}, "0 or below"},
        ErrorCase{
            "NormalizeNotANumber", {"render", "@in.wav", "@out.wav", "--normalize", "loud"}, "--normalize"},
        ErrorCase{"OutputFolderMissing", {"render", "@in.wav", "-o", "@no/such/folder"}, "cannot write into"},
        ErrorCase{"OutputFolderIsAFile", {"render", "@in.wav", "-o", "@in.wav"}, "it is not a folder"},
        ErrorCase{
            "BatchIntoTheInputsOwnFolder", {"render", "@in.wav", "-o", "@."}, "its output would replace it"},
        ErrorCase{"OutputFolderWithoutInput", {"render", "-o", "@."}, "at least one input"},
        ErrorCase{"OutputFolderWithDemo", {"render", "--demo", "-o", "@."}, "do not go together"},
        ErrorCase{"RenderUnknownPresetInBatch",
                  {"render", "@in.wav", "-o", "@.", "--preset", "Hall"},
                  "unknown preset \"Hall\""},
        ErrorCase{
            "IrUnknownPreset", {"ir", "@ir.wav", "--preset", "Cathedral"}, "unknown preset \"Cathedral\""},
        ErrorCase{"IrUnknownParameter", {"ir", "@ir.wav", "--set", "Size=3"}, "unknown parameter \"Size\""},
        ErrorCase{"IrWithoutOutput", {"ir", "--preset", "Studio"}, "name one output file"},
        ErrorCase{"IrIntoUnknownContainer", {"ir", "@ir.mp3"}, ".mp3 names no container"},
        ErrorCase{"IrUnknownType", {"ir", "@ir.wav", "--type", "mp3"}, "--type wants one of"},
        ErrorCase{"IrRateTooLow", {"ir", "@ir.wav", "--rate", "100"}, "--rate wants a sample rate"},
        ErrorCase{"IrLengthZero", {"ir", "@ir.wav", "--length", "0"}, "--length wants seconds"},
        ErrorCase{"IrUnwritableFolder", {"ir", "@no/such/folder/ir.wav"}, "cannot write into"},
        ErrorCase{"PlotUnknownPreset", {"plot", "@room.png", "--preset", "Cathedral"}, "unknown preset"},
        ErrorCase{
            "PlotSizeTooSmall", {"plot", "@room.png", "--size", "100x100"}, "--size wants WIDTHxHEIGHT"},
        ErrorCase{"PlotSizeMalformed", {"plot", "@room.png", "--size", "wide"}, "--size wants WIDTHxHEIGHT"},
        ErrorCase{"PlotUnwritableFolder", {"plot", "@in.wav/room.png"}, "cannot write into"},
        ErrorCase{"IrHasNoSizeOption", {"ir", "@ir.wav", "--size", "800x600"}, "unknown option '--size'"},
        ErrorCase{"InfoUnknownOption", {"info", "--xml"}, "unknown option '--xml'"}),
    TestSupport::caseName<ErrorCase>);

} // namespace
} // namespace CliTest
