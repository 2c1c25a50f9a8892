// The sidecar rooms.jsonl: one JSON object per line for every output of a varied batch, with the
// room it was given ({"input", "output", "preset", "set": [...], "mix", "seed"}). `render --list`
// reads such lines back, so the same rooms can be rendered again.
#pragma once

#include "BatchRunner.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace TessalineTool {

// The record a job's room goes into: `named` (--rooms) when given, else rooms.jsonl beside its output.
std::string roomsLogOf(const BatchJob& job, const std::string& named);

// Refuses, before anything is written, a record that would replace the job list, an input or an
// output of the run (by name or as the same file under another name).
bool checkRoomsLogs(const std::vector<BatchJob>& jobs, const std::string& named, const std::string& listFile,
                    std::string& error);

// Writes the rooms of the jobs given (those whose outputs were written) into their records,
// replacing earlier ones; false with a message when a folder refuses it.
bool writeRoomsLogs(const std::vector<const BatchJob*>& jobs, uint64_t seed, const std::string& named,
                    std::string& error);

// An earlier rooms.jsonl beside outputs this run replaced without recording them (paths in
// `skip` excepted) drops their lines, and is removed when none remain, so it never describes
// rooms the files no longer hold; says so on standard error.
void forgetReplacedOutputs(const std::vector<const BatchJob*>& written, const std::set<std::string>& skip);

} // namespace TessalineTool
