// Where the editor finds its description and bitmaps: the Contents/Resources folder of the
// bundle the module was loaded from.
#pragma once

#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// The description the editor is built from, and the template it shows.
constexpr const char* kEditorDescription = "tovu.uidesc";
constexpr const char* kEditorTemplate = "Editor";

// <bundle>/Contents/Resources for a module at <bundle>/Contents/<arch>-linux/<name>.so, if that
// folder holds `probeFile`. The path the module was loaded by is tried first (a bundle reached
// through a symbolic link keeps its own Resources), then the path with every link resolved (a
// module file linked into a bare folder finds the bundle it really lives in). Empty when
// neither holds the file.
std::string resourceFolderOfModule(const std::string& modulePath, const char* probeFile);

// The same for the module this code is linked into; an override set below wins.
std::string editorResourceFolder();

// Lets a program that links the editor statically (tests, tools) name the folder; empty
// returns to the module's own location.
void setEditorResourceFolder(const std::string& folder);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
