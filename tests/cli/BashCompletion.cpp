#include "BashCompletion.h"

#include <cstdio>
#include <fstream>

namespace CliTest {

const char* const kCompletionFramework = "/usr/share/bash-completion/bash_completion";

namespace {
std::string shellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
} // namespace

std::vector<std::string> completionsOf(const std::string& folder, const std::vector<std::string>& words)
{
    std::string array;
    for (const std::string& word : words)
        array += " " + shellQuoted(word);
    const std::string script = folder + "/complete.sh";
    std::ofstream(script) << "source " << kCompletionFramework << "\n"
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

} // namespace CliTest
