// `tessaline render`: one file (or the built-in demo) into OUT, or several files into a folder.
#include "Commands.h"

#include "BatchProgress.h"
#include "FileRender.h"
#include "PluginSession.h"
#include "RenderOptions.h"
#include "SameFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <mutex>
#include <pthread.h>
#include <set>
#include <thread>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace TessalineTool {

namespace {
int fail(const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\n", message.c_str());
    return 1;
}

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
    return session.open(commandLine.bundlePath, error) && options.room.resolve(session, edits, error);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One file of a batch: where it goes, or why it cannot be rendered at all.
struct BatchFile
{
    std::string input, output, refusal;
};

// Each input into the folder under its own name, `jobs` files at a time, each on its own plug-in
// instance. A failing file is reported and the rest still render; the exit status says whether
// all succeeded. Every output is what a render of that file alone gives.
int renderBatch(const CommandLine& commandLine, const RenderOptions& options)
{
    std::string error;
    if (!checkOutputFolder(options.outputFolder, error) || !checkSettings(commandLine, options, error))
        return fail(error);
    const size_t count = options.inputs.size();
    std::vector<BatchFile> files;
    std::set<std::string> outputs;
    for (const std::string& input : options.inputs)
    {
        BatchFile file{input, options.outputFolder + "/" + nameOf(input), ""};
        if (nameOf(input).empty() || input == "-")
            file.refusal =
                input == "-" ? "standard input cannot be one of several inputs" : "not a file name";
        else if (sameFile(input, file.output))
            file.refusal = "its output would replace it; choose another folder";
        else if (!outputs.insert(file.output).second)
            file.refusal = "another input of this batch already renders into '" + file.output + "'";
        files.push_back(file);
    }

    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    const size_t jobs =
        std::min<size_t>(count, options.jobs > 0 ? static_cast<size_t>(options.jobs) : processors);
    BatchProgress progress(static_cast<int>(count));
    std::atomic<size_t> next{0};
    std::atomic<size_t> failed{0};
    std::mutex reportMutex;
    auto work = [&] {
        // Stop signals go to the waiting thread, which removes every unfinished output.
        sigset_t stops;
        sigemptyset(&stops);
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&stops, signalNumber);
        pthread_sigmask(SIG_BLOCK, &stops, nullptr);
        for (size_t k = next++; k < count; k = next++)
        {
            const BatchFile& file = files[k];
            FileRender job{commandLine.bundlePath, file.input, file.output,
                           "file " + std::to_string(k + 1) + " of " + std::to_string(count)};
            job.showProgress = jobs == 1;
            job.audioMicroseconds = &progress.audioMicroseconds;
            std::string why = file.refusal;
            if (!why.empty() || !renderFile(job, options, why))
            {
                const std::lock_guard<std::mutex> lock(reportMutex);
                if (jobs > 1 && isatty(STDERR_FILENO))
                    std::fputs("\r\033[K", stderr); // off the batch's progress line
                std::fprintf(stderr, "tessaline: %s: %s\n", file.input.c_str(), why.c_str());
                ++failed;
            }
            ++progress.filesDone;
        }
    };
    if (jobs <= 1)
        work();
    else
    {
        std::vector<std::thread> threads;
        for (size_t j = 0; j < jobs; ++j)
            threads.emplace_back(work);
        while (progress.filesDone.load() < static_cast<int>(count))
        {
            progress.update();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        for (std::thread& thread : threads)
            thread.join();
        progress.finish();
    }
    if (failed == 0)
        return 0;
    std::fprintf(stderr, "tessaline: %zu of %zu files failed\n", failed.load(), count);
    return 1;
}
} // namespace

int runRender(const CommandLine& commandLine)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(commandLine.args, options, error))
        return fail(error + "\nsee tessaline render --help");
    if (options.help)
    {
        std::fputs(renderUsage().c_str(), stdout);
        return 0;
    }
    if (!options.outputFolder.empty())
        return renderBatch(commandLine, options);
    const FileRender job{commandLine.bundlePath, options.inputs.empty() ? std::string() : options.inputs[0],
                         options.outputPath, "rendering"};
    return renderFile(job, options, error) ? 0 : fail(error);
}

} // namespace TessalineTool
