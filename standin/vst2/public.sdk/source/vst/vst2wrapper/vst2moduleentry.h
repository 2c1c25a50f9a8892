// A VST2 host only calls VSTPluginMain; it never calls the module's ModuleEntry. This runs it the
// first time an effect is made, with the module's own handle, so that the module handle and the
// module-init hook are in place exactly as for a VST3 host (an editor needs both).
#pragma once

namespace Steinberg {
namespace Vst {

// [main thread] True once the module was entered (at the first call; later calls only report).
bool enterModuleForVst2();

} // namespace Vst
} // namespace Steinberg
