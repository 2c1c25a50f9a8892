// The VST2 entry: a VST2-only host loads the same module and gets the same effect, wrapped.
#include "TessalineIds.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "public.sdk/source/vst/vst2wrapper/vst2moduleentry.h"
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"
#include "vst2abi/Vst2Effect.h"
#include "vst2abi/Vst2Opcodes.h"

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

namespace {
Vst2::AEffect* createEffect(Vst2::HostCallback audioMaster)
{
    // A host that answers version 0 (or passes no callback) is no VST2 host.
    if (!audioMaster || audioMaster(nullptr, Vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    // The module entry a VST3 host would have called: module handle and module-init hook.
    if (!Steinberg::Vst::enterModuleForVst2())
        return nullptr;
    Steinberg::IPluginFactory* factory = GetPluginFactory();
    if (!factory)
        return nullptr;
    // The wrapper takes over the factory reference GetPluginFactory handed out.
    auto* wrapper = Steinberg::Vst::Vst2Wrapper::create(
        factory, reinterpret_cast<const Steinberg::char8*>(Tessaline::kProcessorCid),
        Tessaline::kVst2UniqueId, audioMaster);
    return wrapper ? wrapper->getAeffect() : nullptr;
}
} // namespace

extern "C" {

__attribute__((visibility("default"))) Vst2::AEffect* VSTPluginMain(Vst2::HostCallback audioMaster)
{
    return createEffect(audioMaster);
}

// Early Linux VST2 hosts look the entry up under the name "main"; the assembler name keeps the
// C++ function itself from being main.
__attribute__((visibility("default"))) Vst2::AEffect*
vst2MainAlias(Vst2::HostCallback audioMaster) asm("main");
Vst2::AEffect* vst2MainAlias(Vst2::HostCallback audioMaster) { return createEffect(audioMaster); }

} // extern "C"
