// Loads a VST3 bundle the way a Linux host does, through its exported functions only:
// <bundle>/Contents/<machine>-linux/<Name>.so is opened with dlopen, ModuleEntry(handle) is
// called, then GetPluginFactory. unload() (or destruction) releases the factory, calls ModuleExit
// and closes the library. Nothing of the plug-in is linked into the host.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <string>

namespace TessalineHost {

class HostModule
{
public:
    HostModule() = default;
    ~HostModule();
    HostModule(const HostModule&) = delete;
    HostModule& operator=(const HostModule&) = delete;

    // The machine name of this system as uname reports it ("x86_64", "aarch64").
    static std::string machineName();
    // The module file inside a bundle: <bundle>/Contents/<machine>-linux/<bundle name>.so.
    static std::string binaryPath(const std::string& bundlePath);

    // Loads the bundle; false with error() set when any step fails (then nothing stays loaded).
    // A module already loaded is unloaded first.
    bool load(const std::string& bundlePath);
    void unload();
    bool isLoaded() const { return library != nullptr; }
    const std::string& error() const { return lastError; }
    const std::string& path() const { return modulePath; }

    // A symbol the module exports (null when it does not).
    void* symbol(const char* name) const;
    bool exports(const char* name) const { return symbol(name) != nullptr; }

    // The module's factory (the host's one reference; do not release).
    Steinberg::IPluginFactory* factory() const { return pluginFactory; }

    // Readers of the factory's descriptions; false when the factory refuses.
    bool factoryInfo(Steinberg::PFactoryInfo& info) const;
    Steinberg::int32 classCount() const;
    bool classInfo(Steinberg::int32 index, Steinberg::PClassInfo& info) const;
    bool classInfo2(Steinberg::int32 index, Steinberg::PClassInfo2& info) const;
    bool classInfoW(Steinberg::int32 index, Steinberg::PClassInfoW& info) const;
    // Class id of the first class of a category ("Audio Module Class"), or of the one with that
    // name when a name is given; false when there is none.
    bool findClass(const char* category, Steinberg::TUID cid, const char* name = nullptr) const;

private:
    bool fail(const std::string& message);

    void* library = nullptr;
    bool entered = false; // ModuleEntry succeeded, ModuleExit is owed
    Steinberg::IPluginFactory* pluginFactory = nullptr;
    std::string modulePath;
    std::string lastError;
};

} // namespace TessalineHost
