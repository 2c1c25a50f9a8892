// One line of a job list split into words as a POSIX shell splits a command line, without any
// expansion: blanks separate words, '...' keeps everything literally, "..." keeps everything but
// \" \\ \$ and \` (which lose their backslash), a backslash outside quotes keeps the next
// character, and a # at the start of a word makes the rest of the line a comment.
#pragma once

#include <string>
#include <vector>

namespace TessalineTool {

// False with a message when a quote is not closed or the line ends in a lone backslash.
bool splitJobLine(const std::string& line, std::vector<std::string>& words, std::string& error);

} // namespace TessalineTool
