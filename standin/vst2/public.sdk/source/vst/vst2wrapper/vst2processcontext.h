// The host's VST2 transport record as the VST3 process context.
#pragma once

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "vst2abi/Vst2TimeInfo.h"

namespace Steinberg {
namespace Vst {

// Fills context from time (whose validity bits say which fields count); fallbackRate stands in
// for a missing sample rate.
void fillProcessContext(const Vst2::VstTimeInfo& time, double fallbackRate, ProcessContext& context);

} // namespace Vst
} // namespace Steinberg
