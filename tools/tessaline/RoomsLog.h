// The sidecar rooms.jsonl: one JSON object per line for every output of a varied batch, with the
// room it was given ({"input", "output", "preset", "set": [...], "mix", "seed"}). `render --list`
// reads such lines back, so the same rooms can be rendered again.
#pragma once

#include "BatchRunner.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

// Writes rooms.jsonl into every folder the jobs write into (or every line into `path` when it is
// given), replacing an earlier one there; false with a message when a folder refuses it.
bool writeRoomsLogs(const std::vector<BatchJob>& jobs, uint64_t seed, const std::string& path,
                    std::string& error);

} // namespace TessalineTool
