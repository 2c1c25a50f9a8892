// `tessaline render`: one file (or the built-in demo) into OUT, or several files into a folder.
#include "Commands.h"

#include "BatchRunner.h"
#include "CommandFailure.h"
#include "CommandHelp.h"
#include "FileRender.h"
#include "JobCheck.h"
#include "JobList.h"
#include "PluginSession.h"
#include "RenderOptions.h"
#include "RoomsLog.h"
#include "SameFile.h"
#include "StopSignals.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace TessalineTool {

namespace {
// The batch's folder is checked before anything renders, so a typo costs no time.
bool checkOutputFolder(const std::string& folder, std::string& error)
{
    struct stat status
    {};
    if (stat(folder.c_str(), &status) != 0)
        error = "cannot write into '" + folder + "': " + std::strerror(errno);
    else if (!S_ISDIR(status.st_mode))
        error = "cannot write into '" + folder + "': it is not a folder";
    else if (access(folder.c_str(), W_OK | X_OK) != 0)
        error = "cannot write into '" + folder + "': " + std::strerror(errno);
    return error.empty();
}

// A bundle that does not load or a setting it does not know would fail every file alike: say it
// once, before the batch starts.
bool checkSettings(const CommandLine& commandLine, const RenderOptions& options, std::string& error)
{
    PluginSession session;
    std::vector<ParameterEdit> edits;
    return session.open(commandLine.bundlePath, error, options.room.className())
           && options.room.resolve(session, edits, error) && options.variation.check(session, error);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "out/" and "out" alike give "out/take.wav".
std::string intoFolder(std::string folder, const std::string& name)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder == "/" ? "/" + name : folder + "/" + name;
}

int jobCount(const RenderOptions& options) { return options.jobs > 0 ? options.jobs : defaultJobCount(); }

// What a stopped batch did: the outputs it finished and those it did not write.
void reportStop(const std::vector<BatchJob>& jobs, const BatchOutcome& outcome)
{
    std::string written, missing;
    size_t writtenCount = 0;
    for (size_t k = 0; k < jobs.size(); ++k)
    {
        std::string& list = outcome.written[k] ? written : missing;
        list += (list.empty() ? "" : ", ") + ("'" + jobs[k].output + "'");
        writtenCount += outcome.written[k] ? 1 : 0;
    }
    std::fprintf(stderr, "tessaline: interrupted; %zu of %zu outputs were written%s%s\n", writtenCount,
                 jobs.size(), written.empty() ? "" : ": ", written.c_str());
    if (!missing.empty())
        std::fprintf(stderr, "tessaline: not written: %s\n", missing.c_str());
}

// Each output's own room drawn, then the batch, then the record of the outputs it wrote;
// `failed` of `count` files failed before it.
int renderJobs(const CommandLine& commandLine, const RenderOptions& options, std::vector<BatchJob>& jobs,
               size_t failed, size_t count)
{
    const bool varied = !options.variation.empty();
    if (varied)
    {
        for (BatchJob& job : jobs)
        {
            // Under -o the file name, in a list the output as the line writes it.
            const std::string name = job.line == 0 ? nameOf(job.output) : job.output;
            const std::vector<std::string> drawn = options.variation.draw(options.seed, name);
            job.options.room.settings.insert(job.options.room.settings.end(), drawn.begin(), drawn.end());
        }
        std::string error;
        if (!checkRoomsLogs(jobs, options.roomsFile, options.listFile, error))
            return fail(error);
    }
    // The batch and the records it leaves are stopped alike: every render at its next block,
    // the records once written.
    StopSignals stop;
    const BatchOutcome outcome = runBatch(commandLine.bundlePath, jobs, jobCount(options), stop);
    std::vector<const BatchJob*> written;
    for (size_t k = 0; k < jobs.size(); ++k)
        if (outcome.written[k])
            written.push_back(&jobs[k]);
    std::set<std::string> recorded;
    if (varied && !written.empty())
    {
        for (const BatchJob* job : written)
            recorded.insert(roomsLogOf(*job, options.roomsFile));
        std::string error;
        if (!writeRoomsLogs(written, options.seed, options.roomsFile, error))
        {
            fail(error);
            ++failed;
        }
    }
    forgetReplacedOutputs(written, recorded);
    if (stop.stopped())
    {
        reportStop(jobs, outcome);
        endBySignal(stop.signalNumber());
    }
    failed += outcome.failed;
    if (failed == 0)
        return 0;
    return fail(std::to_string(failed) + " of " + std::to_string(count) + " files failed");
}

// Each input into the folder under its own name. A failing file is reported and the rest still
// render; the exit status says whether all succeeded.
int renderBatch(const CommandLine& commandLine, const RenderOptions& options)
{
    std::string error;
    if (!checkOutputFolder(options.outputFolder, error) || !checkSettings(commandLine, options, error))
        return fail(error);
    const size_t count = options.inputs.size();
    size_t failed = 0;
    std::set<std::string> outputs;
    std::vector<BatchJob> jobs;
    for (const std::string& input : options.inputs)
    {
        const std::string output = intoFolder(options.outputFolder, nameOf(input));
        error.clear();
        if (sameFile(input, output))
            error = "its output would replace it; choose another folder";
        else if (!outputs.insert(output).second)
            error = "another input of this batch already renders into '" + output + "'";
        else if (nameOf(input).empty() || input == "-")
            error = input == "-" ? "standard input cannot be one of several inputs" : "not a file name";
        if (error.empty())
            jobs.push_back({input, output, options, 0});
        else
        {
            fail(input + ": " + error);
            ++failed;
        }
    }
    return renderJobs(commandLine, options, jobs, failed, count);
}

// Every line read and checked before the first job renders.
int renderList(const CommandLine& commandLine, const RenderOptions& options)
{
    std::ifstream file;
    if (options.listFile != "-")
    {
        file.open(options.listFile);
        if (!file)
            return fail("cannot read the list '" + options.listFile + "': " + std::strerror(errno));
    }
    std::vector<BatchJob> jobs;
    std::string error;
    const std::string name = options.listFile == "-" ? "standard input" : options.listFile;
    if (!readJobList(options.listFile == "-" ? std::cin : file, options, jobs, error)
        || !checkJobs(commandLine.bundlePath, jobs, error))
        return fail(name + ": " + error);
    return renderJobs(commandLine, options, jobs, 0, jobs.size());
}
} // namespace

int runRender(const CommandLine& commandLine)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(commandLine.args, options, error))
        return failUsage("render", error);
    if (options.help)
    {
        std::fputs(commandHelp(*findCommand("render")).c_str(), stdout);
        return 0;
    }
    if (!options.variation.empty())
    {
        PluginSession session;
        if (!session.open(commandLine.bundlePath, error) || !options.variation.learn(session, error))
            return fail(error);
    }
    if (!options.listFile.empty())
        return renderList(commandLine, options);
    if (!options.outputFolder.empty())
        return renderBatch(commandLine, options);
    // Stopped as a batch is: the render ends at its next block and removes its temporary file.
    StopSignals stop;
    const FileRender job{commandLine.bundlePath,
                         options.inputs.empty() ? std::string() : options.inputs[0],
                         options.outputPath,
                         "rendering",
                         {},
                         &stop};
    const bool rendered = renderFile(job, options, error);
    endIfStopped(stop, options.outputPath, rendered);
    if (!rendered)
        return fail(error);
    // A record beside OUT no longer describes the file just written.
    if (options.outputPath != "-")
    {
        const BatchJob written{job.input, options.outputPath, options, 0};
        forgetReplacedOutputs({&written}, {});
    }
    endIfStopped(stop, options.outputPath, true);
    return 0;
}

} // namespace TessalineTool
