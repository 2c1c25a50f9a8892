// The one way a command is stopped from outside (Ctrl-C, kill, a closed terminal): while a
// StopSignals lives, SIGINT, SIGTERM and SIGHUP are held back on every thread and taken by a
// watcher instead, so each render ends at its next block and removes its temporary file itself;
// the caller then says what was not written and ends with endBySignal. A single render and a
// batch hold one alike, and so do ir and plot while they write their one output. A signal the process was
// started with ignored (nohup, a background job of a script) stays ignored: it is neither held back nor
// taken.
#pragma once

#include <atomic>
#include <csignal>
#include <string>
#include <thread>

namespace TessalineTool {

class StopSignals
{
public:
    // Holds the stop signals back on the calling thread and on the threads it starts from now on.
    StopSignals();
    // Lets them through again (one that arrived is taken already: see signalNumber).
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool stopped() const { return stopSignal.load() != 0; }
    // The signal that arrived, or 0.
    int signalNumber() const { return stopSignal.load(); }

private:
    void watch();

    sigset_t stops{};
    sigset_t previous{};
    std::atomic<bool> finished{false};
    std::atomic<int> stopSignal{0};
    std::thread watcher;
};

// Ends the program the way the signal asks (its default action).
void endBySignal(int signalNumber);

// Once a command's one output is done with (written or not): when a stop signal arrived, says
// that the output (a path, or - for standard output) was not written, unless it was, and ends the
// program by that signal. Returns when none arrived.
void endIfStopped(const StopSignals& stop, const std::string& output, bool written);

} // namespace TessalineTool
