// The VST3 module information (Contents/Resources/moduleinfo.json) of a loaded module: what a
// host may read instead of loading the module to learn its factory and classes.
#pragma once

#include "HostModule.h"

#include <string>

namespace TessalineModuleInfo {

// The JSON text for the module; name is the bundle's name without ".vst3".
std::string moduleInfoJson(const TessalineHost::HostModule& module, const std::string& name);

} // namespace TessalineModuleInfo
