#include "BatchRunner.h"

#include "BatchProgress.h"
#include "FileRender.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace TessalineTool {

namespace {
const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The stop signals are held back on every thread of the batch and taken here instead, so each
// render can end at its next block and remove its temporary file itself. A signal the process
// was started with ignored (nohup, a background job of a script) stays ignored: it is neither
// held back nor taken.
class StopWatch
{
public:
    StopWatch()
    {
        sigemptyset(&stops);
        for (int signalNumber : kStopSignals)
        {
            struct sigaction current
            {};
            if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
                sigaddset(&stops, signalNumber);
        }
        pthread_sigmask(SIG_BLOCK, &stops, &previous);
        watcher = std::thread([this] { watch(); });
    }
    ~StopWatch()
    {
        finished = true;
        watcher.join();
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    StopWatch(const StopWatch&) = delete;
    StopWatch& operator=(const StopWatch&) = delete;

    bool stopped() const { return stopSignal.load() != 0; }
    int signalNumber() const { return stopSignal.load(); }

private:
    void watch()
    {
        const timespec poll{0, 50 * 1000 * 1000};
        while (!finished && !stopped())
        {
            const int signalNumber = sigtimedwait(&stops, nullptr, &poll);
            if (signalNumber > 0)
                stopSignal = signalNumber;
        }
    }

    sigset_t stops{};
    sigset_t previous{};
    std::atomic<bool> finished{false};
    std::atomic<int> stopSignal{0};
    std::thread watcher;
};
} // namespace

int defaultJobCount()
{
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    return processors > 0 ? static_cast<int>(processors) : 1;
}

void endBySignal(int signalNumber)
{
    std::fflush(stdout);
    signal(signalNumber, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signalNumber);
}

BatchOutcome runBatch(const std::string& bundlePath, const std::vector<BatchJob>& jobs, int workers)
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
        StopWatch stop;
        BatchProgress progress(count, workers);
        auto work = [&](int worker) {
            for (size_t k = next++; k < count && !stop.stopped(); k = next++)
            {
                const BatchJob& job = jobs[k];
                FileRender render{bundlePath, job.input, job.output,
                                  "file " + std::to_string(k + 1) + " of " + std::to_string(count),
                                  [&](int64_t done, int rate) {
                                      progress.update(worker, done, rate);
                                      return !stop.stopped();
                                  }};
                std::string error;
                const bool rendered = renderFile(render, job.options, error);
                progress.fileDone(worker);
                outcome.written[k] = rendered ? 1 : 0;
                if (!rendered && !stop.stopped())
                {
                    std::fprintf(stderr, "tessaline: %s: %s\n", job.input.c_str(), error.c_str());
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
        outcome.stopSignal = stop.signalNumber();
    }
    outcome.failed = failed.load();
    return outcome;
}

} // namespace TessalineTool
