// What `tessaline info` shows, as one JSON document for scripts: the bundle's identity (factory
// and classes), every parameter with its range, default and list entries, and the preset names.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace TessalineTool {

class PluginSession;

nlohmann::ordered_json infoJson(PluginSession& session, const std::string& bundlePath);

} // namespace TessalineTool
