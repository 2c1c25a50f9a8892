// Opens the audio effect of a loaded bundle the way a host does: find the first class of the
// audio-effect category (or the one of a given name), create it, initialize it with a host context, and check
// that it is both processor and edit controller.
#pragma once

#include "HostInstance.h"
#include "HostModule.h"

#include <string>

namespace TessalineHost {

// [main thread] True when `instance` holds the initialized effect and `cid` its class id;
// otherwise false with a readable reason in `error`. A className picks that class, not the first.
bool openEffect(const HostModule& module, HostInstance& instance, Steinberg::TUID cid, std::string& error,
                const char* className = nullptr);

} // namespace TessalineHost
