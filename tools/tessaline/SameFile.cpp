#include "SameFile.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace TessalineTool {

namespace {
std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
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
