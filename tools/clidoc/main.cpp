// tessaline-clidoc MAN.in MAN BASH.in BASH VERSION: writes the manual page tessaline(1) and the
// bash completion of `tessaline` from their templates, filling in every command and option from
// the program's option table and the parameter titles, ranges and preset names from the plug-in's
// own parameter registry, so that neither is ever copied by hand.
#include "CommandHelp.h"
#include "OptionTable.h"
#include "OutputFormat.h"

#include "adapter/parameters/ParameterRegistry.h"
#include "core/CPlugIn.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

CPlugIn* createPlugIn();

namespace {
using namespace TessalineTool;
using Steinberg::Vst::Vava2DUZ3::CParameterRegistry;
using Steinberg::Vst::Vava2DUZ3::ParameterDescription;

// What --set, --vary and --preset take, as the plug-in describes it.
struct RoomWords
{
    std::vector<const ParameterDescription*> parameters; // the room's own controls
    std::vector<std::string> presets;
};

RoomWords roomWords(const CParameterRegistry& registry, uint32_t controlCount)
{
    RoomWords words;
    for (const ParameterDescription& parameter : registry.parameters())
        if (parameter.id < controlCount && !parameter.readOnly)
            words.parameters.push_back(&parameter);
    if (registry.presetList())
        words.presets = registry.presetList()->entries;
    return words;
}

// ---- roff ----

// Text as roff prints it: backslashes and minus signs escaped, no line starting as a request.
std::string roff(const std::string& text)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text)
    {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// Paragraphs separated by blank lines, each filled.
std::string roffParagraphs(const std::string& text)
{
    std::string out;
    std::istringstream lines(text);
    std::string line;
    bool first = true;
    while (std::getline(lines, line))
    {
        if (line.empty())
        {
            out += ".PP\n";
            continue;
        }
        if (first)
            out += ".PP\n";
        first = false;
        out += roff(line) + "\n";
    }
    return out;
}

std::string roffHeading(const Option& option)
{
    std::string out;
    if (option.shortName)
        out += "\\fB" + roff(option.shortName) + "\\fR, ";
    out += "\\fB" + roff(option.name) + "\\fR";
    if (option.valueName)
        out += " \\fI" + roff(option.valueName) + "\\fR";
    return out;
}

std::string roffOptions(Scope scope)
{
    std::string out;
    for (const Option* option : optionsOf(scope))
        out += ".TP\n" + roffHeading(*option) + "\n" + roff(option->help) + "\n";
    return out;
}

std::string roffCommands()
{
    std::string out;
    for (const CommandText& command : commandTexts())
        out += ".TP\n.B " + std::string(command.name) + "\n" + roff(command.summary) + "\n";
    return out;
}

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string roffCommandSections()
{
    std::string out;
    for (const CommandText& command : commandTexts())
    {
        out += ".SH " + upper(command.name) + "\n.nf\n" + roff(command.synopsis) + "\n.fi\n";
        out += roffParagraphs(command.description);
        out += ".SS Options\n" + roffOptions(command.scope);
        if (!command.notes.empty())
            out += roffParagraphs(command.notes);
    }
    return out;
}

std::string roffParameters(const RoomWords& words)
{
    std::string out;
    for (const ParameterDescription* parameter : words.parameters)
    {
        std::string values;
        if (!parameter->entries.empty())
            for (const std::string& entry : parameter->entries)
                values += (values.empty() ? "" : ", ") + entry;
        else
        {
            const int32_t precision = parameter->precision >= 0 ? parameter->precision : 2;
            values = CParameterRegistry::formatPlain(parameter->min, precision) + " to "
                     + CParameterRegistry::formatPlain(parameter->max, precision);
            if (!parameter->units.empty())
                values += " " + parameter->units;
        }
        out += ".TP\n.B " + roff(parameter->title) + "\n" + roff(values) + "\n";
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

std::string roffPresets(const RoomWords& words)
{
    std::string out;
    for (const std::string& preset : words.presets)
        out += (out.empty() ? "\\(dq" : ", \\(dq") + roff(preset) + "\\(dq";
    return out;
}

// ---- bash ----

// $'...' holding the values one per line.
std::string dollarQuoted(const std::vector<std::string>& values)
{
    std::string out = "$'";
    for (size_t k = 0; k < values.size(); ++k)
    {
        if (k)
            out += "\\n";
        for (const char c : values[k])
            out += c == '\'' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    }
    return out + "'";
}

std::string words(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : " ") + name;
    return out;
}

std::string spaced(const char* commaList)
{
    std::string out;
    for (const char* c = commaList; *c; ++c)
        if (*c != ',')
            out += *c;
    return out;
}

// What the completion offers after an option that takes a value of this kind.
std::string valueAction(ValueKind kind)
{
    switch (kind)
    {
    case ValueKind::kFolder: return "_filedir -d; return ;;";
    case ValueKind::kListFile: // any name: split's part.00, jobs.txt, rooms.jsonl; - is standard input
        return "_filedir; COMPREPLY+=($(compgen -W \"-\" -- \"$cur\")); return ;;";
    case ValueKind::kRoomsFile: return "_filedir '@(jsonl|json)'; return ;;";
    case ValueKind::kPreset: return "_tessaline_values \"$presets\"; return ;;";
    case ValueKind::kSetting:
    case ValueKind::kVariation: return "compopt -o nospace; _tessaline_values \"$parameters\"; return ;;";
    case ValueKind::kContainer:
        return "COMPREPLY=($(compgen -W \"" + spaced(kContainerNames) + "\" -- \"$cur\")); return ;;";
    case ValueKind::kRate:
        return "COMPREPLY=($(compgen -W \"" + std::string(kCommonRates) + "\" -- \"$cur\")); return ;;";
    case ValueKind::kJobs:
        return "COMPREPLY=($(compgen -W \"1 2 4 8 $(nproc 2>/dev/null)\" -- \"$cur\")); return ;;";
    default: return "return ;;"; // a number or a size: nothing to offer
    }
}

std::string valueCases()
{
    // One case per action, naming every option that takes such a value, in table order.
    std::vector<std::string> actions;
    std::map<std::string, std::vector<std::string>> namesOf;
    for (const Option& option : optionTable())
    {
        if (!option.valueName)
            continue;
        const std::string action = valueAction(option.kind);
        if (namesOf.find(action) == namesOf.end())
            actions.push_back(action);
        std::vector<std::string>& names = namesOf[action];
        for (const char* name : {option.shortName, option.name})
            if (name && std::find(names.begin(), names.end(), name) == names.end())
                names.emplace_back(name);
    }
    std::string out;
    for (const std::string& action : actions)
    {
        std::string pattern;
        for (const std::string& name : namesOf[action])
            pattern += (pattern.empty() ? "" : "|") + name;
        out += "        " + pattern + ") " + action + "\n";
    }
    out.pop_back();
    return out;
}

std::string toolValuedSkips()
{
    std::string out;
    for (const Option* option : optionsOf(kToolScope))
        if (option->valueName)
            out += "            " + std::string(option->name) + ") ((i++)) ;;\n";
    if (!out.empty())
        out.pop_back();
    return out;
}

std::string commandOptions()
{
    std::string out;
    for (const CommandText& command : commandTexts())
        out += "        " + std::string(command.name) + ") options=\"" + words(optionNames(command.scope))
               + "\" ;;\n";
    out.pop_back();
    return out;
}

std::string commandNames()
{
    std::vector<std::string> names;
    for (const CommandText& command : commandTexts())
        names.emplace_back(command.name);
    return words(names);
}

// ---- templates ----

bool fill(const std::string& templatePath, const std::string& outputPath,
          const std::map<std::string, std::string>& values)
{
    std::ifstream in(templatePath);
    if (!in)
    {
        std::fprintf(stderr, "tessaline-clidoc: cannot read %s\n", templatePath.c_str());
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto [key, value] : values)
    {
        // The template's own line ends follow each value.
        if (!value.empty() && value.back() == '\n')
            value.pop_back();
        const std::string token = "@" + key + "@";
        if (text.find(token) == std::string::npos)
        {
            std::fprintf(stderr, "tessaline-clidoc: %s has no %s\n", templatePath.c_str(), token.c_str());
            return false;
        }
        for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size()))
            text.replace(at, token.size(), value);
    }
    std::ofstream out(outputPath);
    out << text;
    out.close();
    if (!out)
    {
        std::fprintf(stderr, "tessaline-clidoc: cannot write %s\n", outputPath.c_str());
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 6)
    {
        std::fprintf(stderr, "usage: tessaline-clidoc MAN.in MAN BASH.in BASH VERSION\n");
        return 2;
    }
    std::unique_ptr<CPlugIn> plugIn(createPlugIn());
    CParameterRegistry registry;
    registry.build(plugIn.get());
    const RoomWords room = roomWords(registry, plugIn->m_ControlList.controlCount());
    if (room.parameters.empty() || room.presets.empty())
    {
        std::fprintf(stderr, "tessaline-clidoc: the plug-in declares no parameters or no presets\n");
        return 1;
    }
    std::vector<std::string> titles;
    for (const ParameterDescription* parameter : room.parameters)
        titles.push_back(parameter->title + "=");

    const bool written = fill(argv[1], argv[2],
                              {{"VERSION", argv[5]},
                               {"COMMANDS", roffCommands()},
                               {"TOOL_OPTIONS", roffOptions(kToolScope)},
                               {"COMMAND_SECTIONS", roffCommandSections()},
                               {"PARAMETERS", roffParameters(room)},
                               {"PRESETS", roffPresets(room)},
                               {"EXIT_STATUS", roff(kExitStatusText)}})
                         && fill(argv[3], argv[4],
                                 {{"TOOL_VALUED_SKIP", toolValuedSkips()},
                                  {"PARAMETERS", dollarQuoted(titles)},
                                  {"PRESETS", dollarQuoted(room.presets)},
                                  {"VALUE_CASES", valueCases()},
                                  {"COMMANDS", commandNames()},
                                  {"TOOL_OPTIONS", words(optionNames(kToolScope))},
                                  {"COMMAND_OPTIONS", commandOptions()}});
    return written ? 0 : 1;
}
