// Class factory of a VST3 module: holds the factory information and the registered classes, hands
// out their descriptions (8-bit and UTF-16) and creates instances.
//
// Same class name, header path and interface as the VST3 SDK's CPluginFactory, which the Debian
// SDK subset does not ship. Every text that enters a record is truncated to its field and
// terminated, so a caller's over-long or unterminated text never leaks into a host's copy.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <vector>

namespace Steinberg {

class FUID;

class CPluginFactory : public IPluginFactory3
{
public:
    using CreateFunc = FUnknown* (*)(void* context);

    // Starts with reference count 1 (the creator's reference).
    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory();

    // Registers a class; false when info or createFunc is missing.
    bool registerClass(const PClassInfo* info, CreateFunc createFunc, void* context = nullptr);
    bool registerClass(const PClassInfo2* info, CreateFunc createFunc, void* context = nullptr);
    bool registerClass(const PClassInfoW* info, CreateFunc createFunc, void* context = nullptr);

    bool isClassRegistered(const FUID& cid) const;
    void removeAllClasses();

    // The context last given to setHostContext (the editor asks it for the host's run loop); no
    // reference is added for the caller.
    FUnknown* getHostContext() const { return hostContext; }

    DECLARE_FUNKNOWN_METHODS

    //--- IPluginFactory
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
    int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
    tresult PLUGIN_API createInstance(FIDString cid, FIDString _iid, void** obj) SMTG_OVERRIDE;

    //--- IPluginFactory2
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;

    //--- IPluginFactory3
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
    tresult PLUGIN_API setHostContext(FUnknown* context) SMTG_OVERRIDE;

protected:
    struct PClassEntry
    {
        PClassInfo2 info8;  // empty for a class registered in UTF-16
        PClassInfoW info16; // always filled; converted from info8 for an 8-bit registration
        CreateFunc createFunc;
        void* context;
        bool isUnicode;
    };

    bool validIndex(int32 index) const;
    // Appends entry with its creation function; false when there is no memory for it.
    bool addClass(PClassEntry& entry, CreateFunc createFunc, void* context);

    PFactoryInfo factoryInfo;
    std::vector<PClassEntry> classes;
    FUnknown* hostContext = nullptr; // one reference held while set
};

// The module's one factory; the factory clears it when it is destroyed.
extern CPluginFactory* gPluginFactory;

} // namespace Steinberg
