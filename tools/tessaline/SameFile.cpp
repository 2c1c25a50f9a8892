#include "SameFile.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace TessalineTool {

namespace {
// The path with its folder resolved, for a file that need not exist yet ("./out/x.wav" and
// "out/x.wav" are one file).
std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer))
        return buffer;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == ".." || !realpath(folder.c_str(), buffer))
        return path;
    return std::string(buffer) + "/" + name;
}
} // namespace

bool sameFile(const std::string& first, const std::string& second)
{
    struct stat a
    {};
    struct stat b
    {};
    if (stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return resolved(first) == resolved(second);
}

} // namespace TessalineTool
