// The VST3 module information (Contents/Resources/moduleinfo.json) of a loaded module: what a
// host may read instead of loading the module to learn its factory and classes.
#pragma once

#include "HostModule.h"

#include <string>

namespace TessalineModuleInfo {

// The JSON text for the module; name is the bundle's name without ".vst3".
std::string moduleInfoJson(const TessalineHost::HostModule& module, const std::string& name);

// The 32 hex digits of a class id in byte order, as module information and preset files spell it.
std::string cidText(const Steinberg::TUID cid);

} // namespace TessalineModuleInfo
