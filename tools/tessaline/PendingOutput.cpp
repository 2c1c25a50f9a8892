#include "PendingOutput.h"

#include "FolderOf.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace TessalineTool {

namespace {
std::string scratchFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// mkstemp creates the file private to the user; give it the permissions the replaced file had,
// or those an ordinary new file gets under the current umask.
void choosePermissions(int descriptor, const OutputTarget& target)
{
    if (target.exists)
    {
        fchmod(descriptor, target.mode);
        return;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

// A temporary file is named after its output, the machine and the process writing it:
// ".take.wav.tsl-HOST-PID-XXXXXX". One that a killed run left (SIGKILL, a power cut) can so be
// told from a live one, and from any file that is not ours.
std::string hostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    std::string host(name);
    host = host.substr(0, host.find('.'));
    for (char& c : host)
        if (c == '-' || c == '/')
            c = '_';
    return host.substr(0, 32);
}

std::string temporaryPrefix(const std::string& outputName)
{
    // Room for the rest within a file name's 255 bytes.
    return "." + outputName.substr(0, 160) + ".tsl-" + hostName() + "-" + std::to_string(getpid()) + "-";
}

// Removes, once per folder and run, the temporary files that runs on this machine left there when
// they were killed: only names of our exact shape, regular files of this user, whose process is gone.
void removeStaleTemporaries(const std::string& folder)
{
    static std::mutex lock;
    static std::vector<std::string> cleaned;
    {
        const std::lock_guard<std::mutex> hold(lock);
        if (std::find(cleaned.begin(), cleaned.end(), folder) != cleaned.end())
            return;
        cleaned.push_back(folder);
    }
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return;
    const std::string marker = ".tsl-" + hostName() + "-";
    while (const dirent* entry = readdir(listing))
    {
        const std::string name = entry->d_name;
        const size_t at = name.rfind(marker);
        if (name.size() < 2 || name[0] != '.' || at == std::string::npos || at < 2)
            continue;
        // PID-XXXXXX after the marker, nothing else.
        const std::string rest = name.substr(at + marker.size());
        const size_t dash = rest.find('-');
        if (dash == std::string::npos || dash == 0 || rest.size() != dash + 7
            || rest.find_first_not_of("0123456789") != dash)
            continue;
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        if (pid <= 0 || pid == getpid() || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat status
        {};
        const std::string path = folder + "/" + name;
        if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid())
            unlink(path.c_str());
    }
    closedir(listing);
}

bool writeAll(int to, const char* bytes, size_t count)
{
    while (count > 0)
    {
        const ssize_t written = write(to, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}
} // namespace

PendingOutput::~PendingOutput() { discard(); }

int PendingOutput::create(const OutputTarget& outputTarget, std::string& error)
{
    discard();
    target = outputTarget;
    const bool stream = target.isStream();
    const size_t slash = target.filePath.rfind('/');
    const std::string outputName =
        slash == std::string::npos ? target.filePath : target.filePath.substr(slash + 1);
    if (!stream)
        removeStaleTemporaries(folderOf(target.filePath));
    std::string pattern = stream ? scratchFolder() + "/.tsl-XXXXXX"
                                 : folderOf(target.filePath) + "/" + temporaryPrefix(outputName) + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    descriptor = mkstemp(buffer.data());
    const int failure = errno;
    if (descriptor >= 0)
    {
        if (stream)
            unlink(buffer.data()); // anonymous: gone with the descriptor, whatever happens
        else
            temporary = buffer.data();
    }
    if (descriptor < 0)
    {
        error = "cannot write into '" + folderOf(pattern) + "': " + std::strerror(failure);
        return -1;
    }
    if (!stream)
        choosePermissions(descriptor, target);
    return descriptor;
}

bool PendingOutput::sendToStream(std::string& error)
{
    const bool standardOutput = target.kind == OutputTarget::Kind::kStandardOutput;
    const int to = standardOutput ? STDOUT_FILENO : open(target.filePath.c_str(), O_WRONLY | O_CLOEXEC);
    const std::string name = standardOutput ? "standard output" : "'" + target.path + "'";
    if (to < 0)
    {
        error = "cannot write " + name + ": " + std::strerror(errno);
        return false;
    }
    bool ok = lseek(descriptor, 0, SEEK_SET) == 0;
    std::vector<char> chunk(1 << 16);
    while (ok)
    {
        const ssize_t got = read(descriptor, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
        {
            ok = got == 0;
            break;
        }
        ok = writeAll(to, chunk.data(), static_cast<size_t>(got));
    }
    const int failure = errno;
    if (!standardOutput && close(to) != 0 && ok)
        ok = false;
    if (!ok)
        error = "writing " + name + " failed: " + std::strerror(failure);
    return ok;
}

bool PendingOutput::commit(std::string& error)
{
    if (descriptor < 0)
    {
        error = "nothing was written";
        return false;
    }
    bool ok = true;
    if (target.isStream())
        ok = sendToStream(error);
    else
    {
        const int closed = close(descriptor);
        const int failure = errno;
        descriptor = -1;
        if (closed != 0)
        {
            error = "cannot write '" + target.path + "': " + std::strerror(failure);
            ok = false;
        }
        else if (rename(temporary.c_str(), target.filePath.c_str()) != 0)
        {
            error = "cannot create '" + target.path + "': " + std::strerror(errno);
            ok = false;
        }
        else
            temporary.clear();
    }
    if (!ok)
    {
        discard();
        return false;
    }
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
    return true;
}

void PendingOutput::discard()
{
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
    if (!temporary.empty())
        unlink(temporary.c_str());
    temporary.clear();
}

} // namespace TessalineTool
