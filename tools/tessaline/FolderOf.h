// The folder part of a path name, for files that are written next to others.
#pragma once

#include <string>

namespace TessalineTool {

// Everything before the last '/': "." for a bare file name, "/" for a file at the root.
std::string folderOf(const std::string& path);

} // namespace TessalineTool
