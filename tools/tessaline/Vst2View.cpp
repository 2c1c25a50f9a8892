#include "Vst2View.h"

#include "Vst2HostEffect.h"

#include <cstdio>

namespace TessalineTool {

namespace {
const char* categoryName(intptr_t category)
{
    static const char* const names[] = {"unknown",     "effect",  "instrument",  "analysis",
                                        "mastering",   "spatial", "room effect", "surround effect",
                                        "restoration", "offline", "shell",       "generator"};
    return category >= 0 && category < 12 ? names[category] : "?";
}

std::string flagsText(int32_t flags)
{
    std::string text;
    const struct
    {
        int32_t bit;
        const char* name;
    } names[] = {{Vst2::effFlagsCanReplacing, "replacing"},
                 {Vst2::effFlagsCanDoubleReplacing, "double"},
                 {Vst2::effFlagsProgramChunks, "chunks"},
                 {Vst2::effFlagsHasEditor, "editor"},
                 {Vst2::effFlagsIsSynth, "synth"}};
    for (const auto& n : names)
        if (flags & n.bit)
            text += (text.empty() ? "" : ",") + std::string(n.name);
    return text.empty() ? "-" : text;
}
} // namespace

void printVst2View(const std::string& modulePath)
{
    TessalineHost::Vst2HostEffect host;
    if (!host.create(modulePath))
    {
        std::printf("VST2: none (%s)\n", host.error().c_str());
        return;
    }
    host.dispatch(Vst2::effOpen);
    const Vst2::AEffect& e = *host.effect();
    std::printf("VST2\n  name: %s\n  vendor: %s\n  product: %s\n  unique id: 0x%08X\n"
                "  version: %d (vendor version %ld, VST %ld)\n  category: %s\n"
                "  pins: %d in, %d out\n  parameters: %d\n  programs: %d\n  flags: %s\n"
                "  tail: %ld samples\n",
                host.text(Vst2::effGetEffectName).c_str(), host.text(Vst2::effGetVendorString).c_str(),
                host.text(Vst2::effGetProductString).c_str(), static_cast<unsigned>(e.uniqueID), e.version,
                static_cast<long>(host.dispatch(Vst2::effGetVendorVersion)),
                static_cast<long>(host.dispatch(Vst2::effGetVstVersion)),
                categoryName(host.dispatch(Vst2::effGetPlugCategory)), e.numInputs, e.numOutputs, e.numParams,
                e.numPrograms, flagsText(e.flags).c_str(),
                static_cast<long>(host.dispatch(Vst2::effGetTailSize)));
    for (int32_t p = 0; p < e.numPrograms; ++p)
        std::printf("    %d  %s\n", p, host.text(Vst2::effGetProgramNameIndexed, p).c_str());
}

} // namespace TessalineTool
