// What `tessaline --help` and `tessaline COMMAND --help` print, and the manual page repeats: each
// command's synopsis and description, its options from the option table, and the exit status.
#pragma once

#include "OptionTable.h"

#include <string>
#include <vector>

namespace TessalineTool {

struct CommandText
{
    const char* name;        // "render"
    Scope scope;             // the options it takes
    const char* summary;     // one line for the list of commands
    std::string synopsis;    // "tessaline render [IN OUT] ...", lines joined by '\n'
    std::string description; // paragraphs separated by a blank line
    std::string notes;       // after the options; may be empty
};

// The commands, in the order the help lists them.
const std::vector<CommandText>& commandTexts();

// The command of that name, or null.
const CommandText* findCommand(const std::string& name);

// What the exit status means, for every command alike.
extern const char* const kExitStatusText;

// `tessaline COMMAND --help`.
std::string commandHelp(const CommandText& command);

// `tessaline --help`; bundleDefault is where the bundle is looked for without --bundle.
std::string toolHelp(const std::string& bundleDefault);

// The options of a scope as help lines: "  -o, --output-dir DIR  render each IN into DIR".
std::string optionLines(Scope scope);

} // namespace TessalineTool
