// The module's exported entry points and the process-wide class factory.
#include "adapter/processor/Processor.h"

#include "editor/ProcessorEditorViews.h"

#include "FactoryInfo.h"
#include "TessalineIds.h"

#include "pluginterfaces/base/funknown.h"
#include "public.sdk/source/main/linuxmain.h"
#include "public.sdk/source/main/pluginfactory.h"

#include <new>

namespace {
// The class id object, constructed at module load; the factory records carry its bytes.
const Steinberg::FUID kProcessorUid =
    Steinberg::FUID::fromTUID(reinterpret_cast<const Steinberg::char8*>(Tessaline::kProcessorCid));
const Steinberg::FUID kAnyRateUid =
    Steinberg::FUID::fromTUID(reinterpret_cast<const Steinberg::char8*>(Tessaline::kAnyRateCid));

// Fill-once flags: the records are built for the first factory and reused by later ones.
enum : unsigned
{
    kFactoryInfoFilled = 1u << 0,
    kClassInfoFilled = 1u << 1,
};
unsigned gFilled = 0;
Steinberg::PFactoryInfo gFactoryInfo;
Steinberg::PClassInfo2 gClassInfo;
Steinberg::PClassInfo2 gAnyRateClassInfo;

// Module hooks: nothing to prepare or release.
bool moduleHook() { return true; }
} // namespace

// Called by the module entry for the outermost ModuleEntry/ModuleExit pair.
bool InitModule() { return moduleHook(); }

bool DeinitModule() { return moduleHook(); }

extern "C" {

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory()
{
    // [main thread] One factory per process while it lives; after the host's final release the
    // factory clears gPluginFactory, and the next call builds a new one.
    using namespace Steinberg;
    if (gPluginFactory)
    {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    if (!(gFilled & kFactoryInfoFilled))
    {
        Tessaline::fillFactoryInfo(gFactoryInfo);
        gFilled |= kFactoryInfoFilled;
    }
    gPluginFactory = new (std::nothrow) CPluginFactory(gFactoryInfo);
    if (!gPluginFactory)
        return nullptr;
    if (!(gFilled & kClassInfoFilled))
    {
        Tessaline::fillClassInfo(gClassInfo);
        kProcessorUid.toTUID(gClassInfo.cid);
        Tessaline::fillAnyRateClassInfo(gAnyRateClassInfo);
        kAnyRateUid.toTUID(gAnyRateClassInfo.cid);
        gFilled |= kClassInfoFilled;
    }
    // Every Processor this module creates opens the editor library's views.
    Vst::Vava2DUZ3::CProcessorEditorViews::install();
    gPluginFactory->registerClass(&gClassInfo, &Vst::Vava2DUZ3::Processor::createInstance, nullptr);
    gPluginFactory->registerClass(&gAnyRateClassInfo, &Vst::Vava2DUZ3::Processor::createAnyRateInstance,
                                  nullptr);
    return gPluginFactory;
}

SMTG_EXPORT_SYMBOL bool InitDll() { return moduleHook(); }

SMTG_EXPORT_SYMBOL bool ExitDll() { return moduleHook(); }

} // extern "C"
