// tessaline-presetgen BUNDLE FOLDER: writes each factory preset of the built bundle as
// FOLDER/<Name>.vstpreset. Runs at build time, driving the bundle through its exports only.
#include "FactoryPresetFiles.h"

#include "HostEffect.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    using namespace Steinberg;
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: tessaline-presetgen BUNDLE FOLDER\n");
        return 2;
    }
    TessalineHost::HostModule module;
    TUID cid = {};
    TessalineHost::HostInstance instance;
    std::string error;
    if (!module.load(argv[1]) || !TessalineHost::openEffect(module, instance, cid, error))
    {
        std::fprintf(stderr, "tessaline-presetgen: no usable audio effect in %s: %s\n", argv[1],
                     module.factory() ? error.c_str() : module.error().c_str());
        return 1;
    }
    const auto presets = TessalinePresets::factoryPresets(instance);
    if (presets.empty())
    {
        std::fprintf(stderr, "tessaline-presetgen: the effect offers no factory presets\n");
        return 1;
    }
    for (const auto& preset : presets)
    {
        if (!TessalinePresets::writePresetFile(instance, cid, preset, argv[2], error))
        {
            std::fprintf(stderr, "tessaline-presetgen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
