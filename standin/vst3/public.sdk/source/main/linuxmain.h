// Linux module entry of a VST3 module: the exported ModuleEntry/ModuleExit pair a host calls right
// after dlopen and right before dlclose, and the module bookkeeping behind it.
//
// The plug-in supplies the bodies of InitModule and DeinitModule; ModuleEntry/ModuleExit call them
// once for the outermost pair only, so nested Entry/Exit pairs (several hosts or wrappers in one
// process) initialise the module exactly once.
#pragma once

#include "pluginterfaces/base/fplatform.h"

#include <string>

// The handle a host passed to ModuleEntry (its dlopen handle); null outside an Entry/Exit pair.
extern void* moduleHandle;

bool InitModule();   // supplied by the plug-in: called by the first ModuleEntry
bool DeinitModule(); // supplied by the plug-in: called by the last ModuleExit

extern "C" {
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle);
SMTG_EXPORT_SYMBOL bool ModuleExit(void);
}

namespace Steinberg {

// Full path of the module file that contains this code, links resolved (a module loaded through a
// link reports the file inside its bundle), or empty when it cannot be found.
std::string getModulePath();

// Folder of the module file, ending with '/' (the path cut after its last separator).
std::string getModuleFolder();

} // namespace Steinberg
