#include "public.sdk/source/main/linuxmain.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

void* moduleHandle = nullptr;

namespace {
// Outstanding ModuleEntry calls. Hosts load and unload modules on their main thread.
int moduleCounter = 0;
} // namespace

bool ModuleEntry(void* sharedLibraryHandle)
{
    if (++moduleCounter == 1)
    {
        moduleHandle = sharedLibraryHandle;
        return InitModule();
    }
    return true;
}

bool ModuleExit(void)
{
    if (moduleCounter <= 0)
        return false; // an Exit without its Entry changes nothing
    if (--moduleCounter == 0)
    {
        moduleHandle = nullptr;
        return DeinitModule();
    }
    return true;
}

namespace Steinberg {

std::string getModulePath()
{
    // Any address inside this module identifies the file the dynamic loader mapped it from.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&moduleHandle), &info) == 0 || !info.dli_fname)
        return {};
    // Loaded through a link (a VST2 host's ~/.vst entry), the module still lives in its bundle:
    // the resolved path is the one whose folder holds the bundle's resources.
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved))
        return resolved;
    return info.dli_fname;
}

std::string getModuleFolder()
{
    std::string path = getModulePath();
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}

} // namespace Steinberg
