// The bash completion as bash runs it: the script sourced into a bash with bash-completion, its
// function found through `complete -p`, and the replies it gives for a command line typed so far.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <cstdio>
#include <fstream>

namespace CliTest {
namespace {

const char* const kFramework = "/usr/share/bash-completion/bash_completion";

std::string shellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

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

// The replies, one per line, for words typed in folder.
std::vector<std::string> completionsOf(const std::string& folder, const std::vector<std::string>& words)
{
    std::string array;
    for (const std::string& word : words)
        array += " " + shellQuoted(word);
    const std::string script = folder + "/complete.sh";
    std::ofstream(script) << "source " << kFramework << "\n"
                          << "source " << shellQuoted(TESSALINE_COMPLETION_PATH) << "\n"
                          << "spec=$(complete -p tessaline) || exit 3\n"
                          << "function=${spec##*-F }; function=${function%% *}\n"
                          << "COMP_WORDS=(" << array << ")\n"
                          << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                          << "COMP_LINE=\"${COMP_WORDS[*]}\"; COMP_POINT=${#COMP_LINE}\n"
                          << "cd " << shellQuoted(folder) << " || exit 3\n"
                          << "\"$function\" tessaline \"${COMP_WORDS[COMP_CWORD]}\" "
                             "\"${COMP_WORDS[COMP_CWORD-1]}\" 2>/dev/null\n"
                          << "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    std::vector<std::string> replies;
    FILE* output = popen(("bash --norc --noprofile " + shellQuoted(script)).c_str(), "r");
    if (!output)
        return replies;
    char line[4096];
    while (std::fgets(line, sizeof line, output))
    {
        std::string reply(line);
        if (!reply.empty() && reply.back() == '\n')
            reply.pop_back();
        if (!reply.empty())
            replies.push_back(reply);
    }
    pclose(output);
    return replies;
}

TEST_P(Completion, OffersWhatTheCommandTakes)
{
    if (!std::filesystem::exists(kFramework))
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
