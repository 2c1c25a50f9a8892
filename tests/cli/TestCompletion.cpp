// The bash completion as bash runs it: the values it offers for what a command takes, quoted as
// the shell needs them.
#include "BashCompletion.h"
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <fstream>

namespace CliTest {
namespace {

struct CompletionCase
{
    const char* name;
    std::vector<std::string> words;   // the command line so far; the last one is being completed
    std::vector<std::string> replies; // every one of these is offered
    std::vector<std::string> absent;  // and none of these
};
inline void PrintTo(const CompletionCase& c, std::ostream* os) { *os << c.name; }

class Completion : public CliRender, public ::testing::WithParamInterface<CompletionCase>
{};

TEST_P(Completion, OffersWhatTheCommandTakes)
{
    if (!std::filesystem::exists(kCompletionFramework))
        GTEST_SKIP() << "bash-completion is not installed";
    const CompletionCase& c = GetParam();
    for (const char* name : {"take.wav", "part.00", "jobs.txt", "rooms.jsonl"})
        std::ofstream(path(name)) << "x";
    std::vector<std::string> words{"tessaline"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const std::vector<std::string> replies = completionsOf(folder, words);
    const auto offered = [&](const std::string& reply) {
        return std::find(replies.begin(), replies.end(), reply) != replies.end();
    };
    std::string all;
    for (const std::string& reply : replies)
        all += "[" + reply + "]";
    for (const std::string& reply : c.replies)
        EXPECT_TRUE(offered(reply)) << reply << " not in " << all;
    for (const std::string& reply : c.absent)
        EXPECT_FALSE(offered(reply)) << reply << " in " << all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Completion,
    ::testing::Values(
        CompletionCase{"PresetWithASpaceIsEscaped", {"render", "--preset", "Fac"}, {"Factory\\ Preset"}, {}},
        CompletionCase{"PresetInsideAQuoteIsClosed", {"render", "--preset", "'Fa"}, {"'Factory Preset'"}, {}},
        CompletionCase{"EveryPreset", {"render", "--preset", ""}, {"Factory\\ Preset", "Studio"}, {}},
        CompletionCase{"SettingKeepsItsOpeningQuote", {"render", "--set", "\"Abs L"}, {"\"Abs L-R="}, {}},
        CompletionCase{"SettingWithoutQuoteIsEscaped", {"render", "--vary", "Abs F"}, {"Abs\\ F-B="}, {}},
        CompletionCase{"RenderOptions", {"render", "--"}, {"--type", "--rooms", "--room-rate", "--list"}, {}},
        CompletionCase{"IrOptions", {"ir", "--"}, {"--type", "--rate"}, {"--rooms"}},
        CompletionCase{"Containers", {"render", "--type", ""}, {"wav", "flac", "opus", "rf64"}, {}},
        CompletionCase{
            "ListTakesAnyFile", {"render", "--list", ""}, {"part.00", "jobs.txt", "rooms.jsonl", "-"}, {}},
        CompletionCase{"RoomsRecord", {"render", "--rooms", ""}, {"rooms.jsonl"}, {"take.wav"}}),
    TestSupport::caseName<CompletionCase>);

} // namespace
} // namespace CliTest
