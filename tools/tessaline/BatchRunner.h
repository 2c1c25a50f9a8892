// A batch of renders, N files at a time, each on its own plug-in instance and thread. Every
// file's output is the same, bit for bit, whatever N is. A file that fails is reported with its
// name while the others go on; a stop signal (Ctrl-C, kill) ends every render and leaves no
// partial file.
#pragma once

#include "RenderOptions.h"

#include <string>
#include <vector>

namespace TessalineTool {

class StopSignals;

struct BatchJob
{
    std::string input;
    std::string output;
    RenderOptions options; // this job's room, mix and the rest
    size_t line = 0;       // its line in a job list (0: from the command line)
};

// The number of processors, the default for --jobs.
int defaultJobCount();

struct BatchOutcome
{
    std::vector<char> written; // per job: its output was written whole
    size_t failed = 0;         // jobs that failed on their own (not those a stop ended)
};

// Renders every job with up to `workers` at a time, naming each file that fails on standard
// error. Once `stop` has taken a stop signal every render in flight ends and no other starts;
// the caller reports what was written and then ends with endBySignal.
BatchOutcome runBatch(const std::string& bundlePath, const std::vector<BatchJob>& jobs, int workers,
                      const StopSignals& stop);

} // namespace TessalineTool
