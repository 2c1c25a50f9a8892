// The checks a job list passes before anything renders: every job's room is one the plug-in
// accepts, no output replaces an input and no two jobs write the same output.
#pragma once

#include "BatchRunner.h"

#include <string>
#include <vector>

namespace TessalineTool {

// False with "line N: ..." for the first job that fails a check.
bool checkJobs(const std::string& bundlePath, const std::vector<BatchJob>& jobs, std::string& error);

} // namespace TessalineTool
