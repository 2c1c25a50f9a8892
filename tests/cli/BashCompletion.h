// The bash completion as bash runs it: the built script sourced into a bash with bash-completion,
// its function found through `complete -p`, and the replies it gives for a command line typed so
// far.
#pragma once

#include <string>
#include <vector>

namespace CliTest {

// bash-completion's own script, which the completion needs.
extern const char* const kCompletionFramework;

// The replies, one per line, for `words` typed in folder (the last word is being completed).
std::vector<std::string> completionsOf(const std::string& folder, const std::vector<std::string>& words);

} // namespace CliTest
