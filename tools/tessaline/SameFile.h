// Whether two path names lead to the same file, so a render never overwrites its own input.
#pragma once

#include <string>

namespace TessalineTool {

// True when both name the same existing file (links and "./" spellings included), or the same
// path when the second does not exist yet.
bool sameFile(const std::string& first, const std::string& second);

} // namespace TessalineTool
