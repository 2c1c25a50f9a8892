#include "OutputTarget.h"

#include "FolderOf.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace TessalineTool {

namespace {
// The file a chain of links ends at (which need not exist yet), or "" for a loop or a chain
// too long to follow.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop)
    {
        struct stat status
        {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return "";
        target.resize(static_cast<size_t>(length));
        path = target.front() == '/' ? target : folderOf(path) + "/" + target;
    }
    return "";
}
} // namespace

bool resolveOutputTarget(const std::string& path, OutputTarget& target, std::string& error)
{
    target = OutputTarget{};
    target.path = path;
    if (path == "-")
    {
        // Binary audio or pictures on a terminal are noise that can leave it in a strange state.
        if (isatty(STDOUT_FILENO))
        {
            error = "standard output is a terminal; redirect it into a file or a pipe, or name OUT";
            return false;
        }
        target.kind = OutputTarget::Kind::kStandardOutput;
        return true;
    }
    target.filePath = followLinks(path);
    if (target.filePath.empty())
    {
        error = "cannot write '" + path + "': " + std::strerror(ELOOP);
        return false;
    }
    struct stat status
    {};
    if (stat(target.filePath.c_str(), &status) != 0)
    {
        if (errno != ENOENT && errno != ENOTDIR)
        {
            error = "cannot write '" + path + "': " + std::strerror(errno);
            return false;
        }
        // A new file: its folder must exist; the temporary file beside it tells the rest.
        struct stat folder
        {};
        const std::string parent = folderOf(target.filePath);
        const int found = stat(parent.c_str(), &folder);
        if (found != 0 || !S_ISDIR(folder.st_mode))
        {
            error = "cannot write into '" + parent + "': " + std::strerror(found != 0 ? errno : ENOTDIR);
            return false;
        }
        return true;
    }
    if (S_ISDIR(status.st_mode))
    {
        error = "cannot write '" + path + "': it is a folder (render several files into it with -o)";
        return false;
    }
    if (!S_ISREG(status.st_mode))
    {
        target.kind = OutputTarget::Kind::kStream;
        if (access(target.filePath.c_str(), W_OK) != 0)
        {
            error = "cannot write '" + path + "': " + std::strerror(errno);
            return false;
        }
        return true;
    }
    target.exists = true;
    target.mode = status.st_mode & 07777;
    // A file the user may not write, or one marked read-only, is not replaced (as cp refuses).
    if (access(target.filePath.c_str(), W_OK) != 0 || (status.st_mode & S_IWUSR) == 0)
    {
        error = "cannot replace '" + path + "': it is read-only";
        return false;
    }
    return true;
}

} // namespace TessalineTool
