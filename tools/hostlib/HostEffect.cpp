#include "HostEffect.h"

namespace TessalineHost {

bool openEffect(const HostModule& module, HostInstance& instance, Steinberg::TUID cid, std::string& error,
                const char* className)
{
    using namespace Steinberg;
    if (!module.factory())
    {
        error = "no plug-in is loaded";
        return false;
    }
    if (!module.findClass(kVstAudioEffectClass, cid, className))
    {
        error = className ? std::string("the bundle holds no audio effect class \"") + className + "\""
                          : "the bundle holds no audio effect class";
        return false;
    }
    if (!instance.create(module.factory(), cid) || instance.initialize() != kResultOk
        || !instance.getController() || !instance.getProcessor())
    {
        error = "the audio effect could not be created and initialized";
        return false;
    }
    return true;
}

} // namespace TessalineHost
