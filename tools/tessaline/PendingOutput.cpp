#include "PendingOutput.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace TessalineTool {

namespace {
// The one temporary file in flight, for the signal handler (which may only use what is
// async-signal-safe: a fixed buffer and unlink).
char gPendingPath[4096] = {};
// Renders on several threads (a batch) take turns at the path; the batch itself holds the stop
// signals back and ends its renders in order, so the handler is not what cleans up there.
std::mutex gPendingLock;

extern "C" void removePendingAndExit(int signalNumber)
{
    if (gPendingPath[0])
        unlink(gPendingPath);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void watchSignals(const std::string& path)
{
    const std::lock_guard<std::mutex> hold(gPendingLock);
    if (path.size() >= sizeof gPendingPath)
        return;
    std::memcpy(gPendingPath, path.c_str(), path.size() + 1);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
    {
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        struct sigaction current
        {};
        if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            signal(signalNumber, removePendingAndExit);
    }
}

void unwatchSignals()
{
    const std::lock_guard<std::mutex> hold(gPendingLock);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
    {
        struct sigaction current
        {};
        if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == removePendingAndExit)
            signal(signalNumber, SIG_DFL);
    }
    gPendingPath[0] = '\0';
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// mkstemp creates the file private to the user; give it the permissions an ordinary new file
// would get under the current umask.
void useUmaskPermissions(int descriptor)
{
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}
} // namespace

PendingOutput::~PendingOutput() { discard(); }

int PendingOutput::create(const std::string& outputPath, std::string& error)
{
    discard();
    output = outputPath;
    std::string pattern = folderOf(outputPath) + "/." + nameOf(outputPath) + ".partial-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // A stop signal that arrives between creating the file and watching for signals would leave
    // the file behind: hold such signals back until the handler knows the file's name.
    sigset_t stops, previous;
    sigemptyset(&stops);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stops, signalNumber);
    sigprocmask(SIG_BLOCK, &stops, &previous);
    const int descriptor = mkstemp(buffer.data());
    const int failure = errno;
    if (descriptor >= 0)
    {
        temporary = buffer.data();
        watchSignals(temporary);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (descriptor < 0)
    {
        error = "cannot write into '" + folderOf(outputPath) + "': " + std::strerror(failure);
        return -1;
    }
    useUmaskPermissions(descriptor);
    return descriptor;
}

bool PendingOutput::commit(std::string& error)
{
    if (temporary.empty())
    {
        error = "nothing was written";
        return false;
    }
    if (rename(temporary.c_str(), output.c_str()) != 0)
    {
        error = "cannot create '" + output + "': " + std::strerror(errno);
        discard();
        return false;
    }
    temporary.clear();
    unwatchSignals();
    return true;
}

void PendingOutput::discard()
{
    if (temporary.empty())
        return;
    unlink(temporary.c_str());
    temporary.clear();
    unwatchSignals();
}

} // namespace TessalineTool
