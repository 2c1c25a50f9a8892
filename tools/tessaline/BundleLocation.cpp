#include "Commands.h"

#include <climits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace TessalineTool {

namespace {
bool isFolder(const std::string& path)
{
    struct stat info
    {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

std::string defaultBundlePath()
{
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string folder = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    // The build tree puts the executable and Tessaline.vst3 in the same folder; an installed
    // executable finds the bundle where the install put it, relative to its own folder
    // (<prefix>/bin -> <prefix>/lib/vst3, or ~/bin -> ~/.vst3 for a per-user install).
    const std::string candidates[] = {folder + "/Tessaline.vst3", folder + "/" TESSALINE_INSTALLED_BUNDLE,
                                      folder + "/../.vst3/Tessaline.vst3"};
    for (const std::string& candidate : candidates)
        if (isFolder(candidate))
            return candidate;
    return candidates[0];
}

} // namespace TessalineTool
