#include "HostModule.h"

#include <cstring>
#include <dlfcn.h>
#include <sys/utsname.h>

namespace TessalineHost {

using namespace Steinberg;

namespace {

using ModuleEntryFunc = bool (*)(void*);
using ModuleExitFunc = bool (*)();
using GetFactoryFunc = IPluginFactory*(PLUGIN_API*)();

// Last path component without trailing slashes.
std::string baseName(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

HostModule::~HostModule() { unload(); }

std::string HostModule::machineName()
{
    utsname names{};
    if (uname(&names) != 0)
        return {};
    return names.machine;
}

std::string HostModule::binaryPath(const std::string& bundlePath)
{
    std::string name = baseName(bundlePath);
    const std::string suffix = ".vst3";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    std::string bundle = bundlePath;
    while (bundle.size() > 1 && bundle.back() == '/')
        bundle.pop_back();
    return bundle + "/Contents/" + machineName() + "-linux/" + name + ".so";
}

bool HostModule::fail(const std::string& message)
{
    unload();
    lastError = message;
    return false;
}

bool HostModule::load(const std::string& bundlePath)
{
    unload();
    lastError.clear();
    modulePath = binaryPath(bundlePath);
    library = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
    {
        const char* why = dlerror();
        return fail("dlopen failed: " + std::string(why ? why : modulePath));
    }
    auto entry = reinterpret_cast<ModuleEntryFunc>(symbol("ModuleEntry"));
    if (!entry)
        return fail("the module does not export ModuleEntry");
    if (!entry(library))
        return fail("ModuleEntry returned false");
    entered = true;
    auto getFactory = reinterpret_cast<GetFactoryFunc>(symbol("GetPluginFactory"));
    if (!getFactory)
        return fail("the module does not export GetPluginFactory");
    pluginFactory = getFactory();
    if (!pluginFactory)
        return fail("GetPluginFactory returned null");
    return true;
}

void HostModule::unload()
{
    if (pluginFactory)
        pluginFactory->release();
    pluginFactory = nullptr;
    if (entered)
    {
        if (auto exitFunc = reinterpret_cast<ModuleExitFunc>(symbol("ModuleExit")))
            exitFunc();
    }
    entered = false;
    if (library)
        dlclose(library);
    library = nullptr;
}

void* HostModule::symbol(const char* name) const { return library && name ? dlsym(library, name) : nullptr; }

bool HostModule::factoryInfo(PFactoryInfo& info) const
{
    return pluginFactory && pluginFactory->getFactoryInfo(&info) == kResultOk;
}

int32 HostModule::classCount() const { return pluginFactory ? pluginFactory->countClasses() : 0; }

bool HostModule::classInfo(int32 index, PClassInfo& info) const
{
    return pluginFactory && pluginFactory->getClassInfo(index, &info) == kResultOk;
}

bool HostModule::classInfo2(int32 index, PClassInfo2& info) const
{
    FUnknownPtr<IPluginFactory2> f(pluginFactory);
    return f && f->getClassInfo2(index, &info) == kResultOk;
}

bool HostModule::classInfoW(int32 index, PClassInfoW& info) const
{
    FUnknownPtr<IPluginFactory3> f(pluginFactory);
    return f && f->getClassInfoUnicode(index, &info) == kResultOk;
}

bool HostModule::findClass(const char* category, TUID cid, const char* name) const
{
    for (int32 i = 0; i < classCount(); ++i)
    {
        PClassInfo info;
        if (classInfo(i, info) && std::strncmp(info.category, category, PClassInfo::kCategorySize) == 0
            && (name == nullptr || std::strncmp(info.name, name, PClassInfo::kNameSize) == 0))
        {
            std::memcpy(cid, info.cid, sizeof(TUID));
            return true;
        }
    }
    return false;
}

} // namespace TessalineHost
