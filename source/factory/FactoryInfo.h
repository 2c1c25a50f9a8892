// The factory information and the class records this module offers to hosts.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

namespace Tessaline {

// Vendor, address, contact text and the UTF-16 flag, every text truncated to its field.
void fillFactoryInfo(Steinberg::PFactoryInfo& info);
// The Processor class: zeroed, then filled with the fixed texts and the class id.
void fillClassInfo(Steinberg::PClassInfo2& info);
// The rate-true Processor class: the same record with its own class id and name.
void fillAnyRateClassInfo(Steinberg::PClassInfo2& info);

} // namespace Tessaline
