// What a VST2 host sees of the module: its effect record and identity, for `tessaline info`.
#pragma once

#include <string>

namespace TessalineTool {

// Prints the VST2 section for the module file at modulePath (a note when it offers no VST2 entry).
void printVst2View(const std::string& modulePath);

} // namespace TessalineTool
