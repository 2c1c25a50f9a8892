// The option table, --help, the manual page, the bash completion and the parser must name the
// same options for every command: each of the table's options appears in all of them and nothing
// else does, each one the table gives a command is read by it, and every other one is refused.
#include "BashCompletion.h"
#include "CliFixture.h"
#include "CommandHelp.h"
#include "OptionTable.h"
#include "support/CaseNames.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <regex>
#include <sstream>

namespace CliTest {
namespace {

using TessalineTool::Option;
using TessalineTool::Scope;
using TessalineTool::ValueKind;

struct Face
{
    const char* name;
    Scope scope;
    const char* command;   // null: the options before any command
    const char* manHeader; // the manual page's section that lists them
};
inline void PrintTo(const Face& c, std::ostream* os) { *os << c.name; }

using Names = std::set<std::string>;

Names tableNames(Scope scope, bool withEndOfOptions)
{
    Names names;
    for (const std::string& name : TessalineTool::optionNames(scope))
        names.insert(name);
    if (withEndOfOptions && TessalineTool::findOption(scope, "--"))
        names.insert("--");
    return names;
}

// "-o, --output-dir DIR" names -o and --output-dir.
void addHeadingNames(const std::string& heading, Names& names)
{
    static const std::regex name("(^|, )(-[-a-z]*)");
    for (std::sregex_iterator it(heading.begin(), heading.end(), name), end; it != end; ++it)
        names.insert((*it)[2]);
}

// The options the help lists: the lines under "options:" up to the next blank line.
Names helpNames(const std::string& help)
{
    Names names;
    std::istringstream lines(help);
    std::string line;
    bool inOptions = false;
    while (std::getline(lines, line))
    {
        if (line == "options:")
            inOptions = true;
        else if (line.empty())
            inOptions = false;
        else if (inOptions && line.rfind("  -", 0) == 0)
            addHeadingNames(line.substr(2, line.find("  ", 2) - 2), names);
    }
    return names;
}

std::string manualPage()
{
    std::string text;
    FILE* page = popen(("gzip -dc '" + std::string(TESSALINE_MANPAGE_PATH) + "'").c_str(), "r");
    if (!page)
        return text;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, page)) > 0;)
        text.append(chunk, got);
    pclose(page);
    return text;
}

// The options of a section of the manual page: each entry (.TP) whose heading is an option.
Names manNames(const std::string& page, const std::string& section)
{
    Names names;
    std::istringstream lines(page);
    std::string line;
    bool inSection = false;
    bool heading = false;
    while (std::getline(lines, line))
    {
        if (line.rfind(".SH ", 0) == 0)
            inSection = line == ".SH " + section;
        else if (inSection && heading && line.rfind("\\fB\\-", 0) == 0)
        {
            const std::string plain = std::regex_replace(
                std::regex_replace(line, std::regex("\\\\f[BIR]"), ""), std::regex("\\\\-"), "-");
            addHeadingNames(plain, names);
        }
        heading = line == ".TP";
    }
    return names;
}

// A value each kind of option takes, so the parser reads it without complaint.
std::string valueFor(const Option& option, const std::string& folder)
{
    switch (option.kind)
    {
    case ValueKind::kFolder: return folder;
    case ValueKind::kListFile: return "jobs.txt";
    case ValueKind::kRoomsFile: return "rooms.jsonl";
    case ValueKind::kPreset: return "Studio";
    case ValueKind::kSetting: return "Gain=0.5";
    case ValueKind::kVariation: return "Gain=0:1";
    case ValueKind::kContainer: return "flac";
    case ValueKind::kRate: return "44100";
    case ValueKind::kJobs: return "2";
    case ValueKind::kWhole: return "7";
    case ValueKind::kPercent: return "30";
    case ValueKind::kDecibels: return "-1";
    case ValueKind::kSeconds: return "0.5";
    case ValueKind::kPixels: return "800x600";
    case ValueKind::kNone: break;
    }
    return "";
}

class OptionsAgree : public CliRender, public ::testing::WithParamInterface<Face>
{
protected:
    // The arguments that give the option by that name (with a value it takes) to the face's
    // command, asking for the help so that nothing renders.
    std::vector<std::string> argumentsWith(const Option& option, const char* name) const
    {
        const Face& face = GetParam();
        std::vector<std::string> args;
        if (face.command)
            args = {face.command, "--help"};
        args.emplace_back(name);
        if (option.valueName)
            args.push_back(valueFor(option, folder));
        if (!face.command)
            args.emplace_back("--help");
        return args;
    }
};

TEST_P(OptionsAgree, HelpManualAndCompletionListTheTablesOptions)
{
    const Face& face = GetParam();
    const Names all = tableNames(face.scope, true);
    ASSERT_FALSE(all.empty());

    const ToolResult help = run(face.command ? std::vector<std::string>{face.command, "--help"}
                                             : std::vector<std::string>{"--help"});
    ASSERT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(helpNames(help.out), all) << "--help:\n" << help.out;

    const std::string page = manualPage();
    ASSERT_FALSE(page.empty()) << TESSALINE_MANPAGE_PATH;
    EXPECT_EQ(manNames(page, face.manHeader), all) << "manual page, section " << face.manHeader;

    if (!std::filesystem::exists(kCompletionFramework))
        GTEST_SKIP() << "bash-completion is not installed";
    std::vector<std::string> words{"tessaline"};
    if (face.command)
        words.emplace_back(face.command);
    words.emplace_back("-");
    const std::vector<std::string> replies = completionsOf(folder, words);
    // "--" ends the options; there is nothing to complete about it.
    EXPECT_EQ(Names(replies.begin(), replies.end()), tableNames(face.scope, false)) << "completion";
}

TEST_P(OptionsAgree, ParserReadsTheTablesOptionsAndRefusesTheOthers)
{
    const Face& face = GetParam();
    for (const Option& option : TessalineTool::optionTable())
        for (const char* name : {option.name, option.shortName})
        {
            if (!name)
                continue;
            const ToolResult result = run(argumentsWith(option, name));
            if (option.scopes & face.scope)
            {
                EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
                const bool version = option.id == TessalineTool::OptionId::kVersion;
                EXPECT_EQ(result.out.rfind(version ? "tessaline " : "usage:", 0), 0u)
                    << name << ": " << result.out;
            }
            else
            {
                EXPECT_EQ(result.exitCode, 2) << name << " is not an option of " << face.name;
                const std::string refusal =
                    std::string(face.command ? "unknown option '" : "unknown command '") + name + "'";
                EXPECT_NE(result.err.find(refusal), std::string::npos) << result.err;
            }
        }
    EXPECT_EQ(files().size(), 0u) << "asking for help renders nothing";
}

INSTANTIATE_TEST_SUITE_P(Commands, OptionsAgree,
                         ::testing::Values(Face{"Tool", TessalineTool::kToolScope, nullptr, "DESCRIPTION"},
                                           Face{"Render", TessalineTool::kRenderScope, "render", "RENDER"},
                                           Face{"Ir", TessalineTool::kIrScope, "ir", "IR"},
                                           Face{"Plot", TessalineTool::kPlotScope, "plot", "PLOT"},
                                           Face{"Info", TessalineTool::kInfoScope, "info", "INFO"}),
                         TestSupport::caseName<Face>);

// The commands the help lists are the ones the program runs, the manual page describes and the
// completion offers; the presets it offers are the plug-in's own.
TEST_F(CliRender, CommandsAndPresetsAgreeEverywhere)
{
    Names commands;
    for (const TessalineTool::CommandText& command : TessalineTool::commandTexts())
    {
        commands.insert(command.name);
        EXPECT_EQ(run({command.name, "--help"}).exitCode, 0) << command.name << " does not run";
    }
    const ToolResult help = run({"--help"});
    Names listed;
    static const std::regex commandLine("\n  ([a-z]+) ");
    for (std::sregex_iterator it(help.out.begin(), help.out.end(), commandLine), end; it != end; ++it)
        listed.insert((*it)[1]);
    EXPECT_EQ(listed, commands) << help.out;

    const std::string page = manualPage();
    for (const std::string& command : commands)
    {
        std::string section = command;
        for (char& c : section)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_NE(page.find("\n.SH " + section + "\n"), std::string::npos) << command;
        EXPECT_NE(page.find("\n.TP\n.B " + command + "\n"), std::string::npos) << command;
    }

    if (!std::filesystem::exists(kCompletionFramework))
        GTEST_SKIP() << "bash-completion is not installed";
    const std::vector<std::string> words = completionsOf(folder, {"tessaline", ""});
    Names offered;
    for (const std::string& word : words)
        if (word[0] != '-')
            offered.insert(word);
    EXPECT_EQ(offered, commands);

    const ToolResult info = run({"info", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const std::vector<std::string> presets = completionsOf(folder, {"tessaline", "render", "--preset", "'"});
    Names quoted;
    const nlohmann::json declared = nlohmann::json::parse(info.out);
    for (const nlohmann::json& name : declared["presets"])
        quoted.insert("'" + name.get<std::string>() + "'");
    EXPECT_EQ(Names(presets.begin(), presets.end()), quoted);
}

} // namespace
} // namespace CliTest
