#include "JobCheck.h"

#include "PluginSession.h"
#include "SameFile.h"

#include <set>

namespace TessalineTool {

bool checkJobs(const std::string& bundlePath, const std::vector<BatchJob>& jobs, std::string& error)
{
    PluginSession session;
    if (!session.open(bundlePath, error, jobs.empty() ? nullptr : jobs[0].options.room.className())
        || (!jobs.empty() && !jobs[0].options.variation.check(session, error)))
        return false;
    std::set<std::string> outputs;
    for (const BatchJob& job : jobs)
    {
        std::vector<ParameterEdit> edits;
        std::string why;
        if (sameFile(job.input, job.output))
            why = "the output '" + job.output + "' would replace the input";
        else if (!outputs.insert(job.output).second)
            why = "another job already renders into '" + job.output + "'";
        else
            job.options.room.resolve(session, edits, why);
        if (!why.empty())
        {
            error = "line " + std::to_string(job.line) + ": " + why;
            return false;
        }
    }
    return true;
}

} // namespace TessalineTool
