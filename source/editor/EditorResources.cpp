#include "EditorResources.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {

std::string& overrideFolder()
{
    static std::string folder;
    return folder;
}

std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool isFile(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Contents/<arch>-linux/<module> -> Contents/Resources
std::string resourcesBeside(const std::string& modulePath)
{
    return parentOf(parentOf(modulePath)) + "/Resources";
}

} // namespace

std::string resourceFolderOfModule(const std::string& modulePath, const char* probeFile)
{
    std::string given = resourcesBeside(modulePath);
    if (isFile(given + "/" + probeFile))
        return given;
    char resolved[PATH_MAX];
    if (::realpath(modulePath.c_str(), resolved))
    {
        std::string real = resourcesBeside(resolved);
        if (isFile(real + "/" + probeFile))
            return real;
    }
    return {};
}

std::string editorResourceFolder()
{
    if (!overrideFolder().empty())
        return overrideFolder();
    Dl_info info = {};
    static const int anchor = 0; // any address inside this module
    if (::dladdr(&anchor, &info) == 0 || !info.dli_fname)
        return {};
    return resourceFolderOfModule(info.dli_fname, kEditorDescription);
}

void setEditorResourceFolder(const std::string& folder) { overrideFolder() = folder; }

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
