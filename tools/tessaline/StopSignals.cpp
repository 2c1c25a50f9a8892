#include "StopSignals.h"

#include "CommandFailure.h"

#include <cstdio>
#include <ctime>
#include <pthread.h>

namespace TessalineTool {

namespace {
const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

StopSignals::StopSignals()
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

StopSignals::~StopSignals()
{
    finished = true;
    watcher.join();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void StopSignals::watch()
{
    const timespec poll{0, 50 * 1000 * 1000};
    while (!finished && !stopped())
    {
        const int signalNumber = sigtimedwait(&stops, nullptr, &poll);
        if (signalNumber > 0)
            stopSignal = signalNumber;
    }
}

void endIfStopped(const StopSignals& stop, const std::string& output, bool written)
{
    if (!stop.stopped())
        return;
    if (!written)
        fail("interrupted; " + (output == "-" ? std::string("standard output") : "'" + output + "'")
             + " was not written");
    endBySignal(stop.signalNumber());
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

} // namespace TessalineTool
