#include "Commands.h"

#include <climits>
#include <string>
#include <unistd.h>

namespace TessalineTool {

std::string defaultBundlePath()
{
    // The build tree puts the executable and Tessaline.vst3 in the same folder.
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string folder = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    return folder + "/Tessaline.vst3";
}

} // namespace TessalineTool
