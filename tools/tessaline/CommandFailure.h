// How a command ends when it fails: one line on standard error, and the exit status that tells a
// mistake on the command line (2) from any other failure (1).
#pragma once

#include <string>

namespace TessalineTool {

constexpr int kExitFailure = 1; // the command could not do what it was asked
constexpr int kExitUsage = 2;   // the command line itself is wrong

// "tessaline: MESSAGE" on standard error; returns kExitFailure.
int fail(const std::string& message);

// A mistake on the command line: the message and "see tessaline COMMAND --help"; returns kExitUsage.
int failUsage(const std::string& command, const std::string& message);

} // namespace TessalineTool
