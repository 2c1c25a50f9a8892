#include "BatchRunner.h"

#include "BatchProgress.h"
#include "CommandFailure.h"
#include "FileRender.h"

#include "StopSignals.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unistd.h>

namespace TessalineTool {

int defaultJobCount()
{
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    return processors > 0 ? static_cast<int>(processors) : 1;
}

BatchOutcome runBatch(const std::string& bundlePath, const std::vector<BatchJob>& jobs, int workers,
                      const StopSignals& stop)
{
    const size_t count = jobs.size();
    BatchOutcome outcome;
    outcome.written.assign(count, 0);
    if (count == 0)
        return outcome;
    workers = static_cast<int>(std::clamp<size_t>(static_cast<size_t>(std::max(workers, 1)), 1, count));
    std::atomic<size_t> next{0};
    std::atomic<size_t> failed{0};
    {
        BatchProgress progress(count, workers);
        auto work = [&](int worker) {
            for (size_t k = next++; k < count && !stop.stopped(); k = next++)
            {
                const BatchJob& job = jobs[k];
                FileRender render{bundlePath,
                                  job.input,
                                  job.output,
                                  "file " + std::to_string(k + 1) + " of " + std::to_string(count),
                                  [&](int64_t done, int rate) { progress.update(worker, done, rate); },
                                  &stop};
                std::string error;
                const bool rendered = renderFile(render, job.options, error);
                progress.fileDone(worker);
                outcome.written[k] = rendered ? 1 : 0;
                if (!rendered && !stop.stopped())
                {
                    fail(job.input + ": " + error);
                    ++failed;
                }
            }
        };
        std::vector<std::thread> threads;
        for (int w = 1; w < workers; ++w)
            threads.emplace_back(work, w);
        work(0);
        for (std::thread& thread : threads)
            thread.join();
    }
    outcome.failed = failed.load();
    return outcome;
}

} // namespace TessalineTool
