#include "public.sdk/source/vst/vst2wrapper/vst2moduleentry.h"

#include "public.sdk/source/main/linuxmain.h"

#include <dlfcn.h>

namespace Steinberg {
namespace Vst {

bool enterModuleForVst2()
{
    static bool entered = false;
    if (entered)
        return true;
    // The handle of the library this code lives in: the host opened it already, so asking the
    // loader without loading finds it; the extra reference is given back at once.
    Dl_info info{};
    void* handle = nullptr;
    if (dladdr(reinterpret_cast<const void*>(&enterModuleForVst2), &info) != 0 && info.dli_fname)
        handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    entered = ModuleEntry(handle);
    if (handle)
        dlclose(handle);
    return entered;
}

} // namespace Vst
} // namespace Steinberg
