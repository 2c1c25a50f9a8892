// A batch of renders, N files at a time, each on its own plug-in instance and thread. Every
// file's output is the same, bit for bit, whatever N is. A file that fails is reported with its
// name while the others go on; a stop signal (Ctrl-C, kill) ends every render, leaves no partial
// file and then ends the program the way the signal asks.
#pragma once

#include "RenderOptions.h"

#include <string>
#include <vector>

namespace TessalineTool {

struct BatchJob
{
    std::string input;
    std::string output;
    RenderOptions options; // this job's room, mix and the rest
    size_t line = 0;       // its line in a job list (0: from the command line)
};

// The number of processors, the default for --jobs.
int defaultJobCount();

// Renders every job with up to `workers` at a time, naming each file that fails on standard
// error; returns how many failed.
size_t runBatch(const std::string& bundlePath, const std::vector<BatchJob>& jobs, int workers);

} // namespace TessalineTool
