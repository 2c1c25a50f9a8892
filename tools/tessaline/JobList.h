// A job list: one render per line, "IN OUT [--preset NAME] [--set PARAM=VALUE ...] [--mix PERCENT]",
// quoted as in a shell. Blank lines and comments are skipped. The options given on the command
// line apply to every job first; a line's own options come after them.
#pragma once

#include "BatchRunner.h"

#include <istream>
#include <string>
#include <vector>

namespace TessalineTool {

// Reads every line; false with "line N: ..." for the first bad one (and then no job is kept).
bool readJobList(std::istream& in, const RenderOptions& base, std::vector<BatchJob>& jobs,
                 std::string& error);

} // namespace TessalineTool
