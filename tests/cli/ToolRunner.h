// Runs the tessaline program the way a user does, from a shell, and collects what it said.
#pragma once

#include <string>
#include <vector>

namespace CliTest {

struct ToolResult
{
    int exitCode = -1;
    std::string out; // standard output
    std::string err; // standard error
};

// Runs `tessaline args...` in folder (its working directory) with the built bundle, standard input
// from stdinPath and the environment's NAME=VALUE settings added.
ToolResult runTool(const std::vector<std::string>& args, const std::string& folder,
                   const std::string& stdinPath = "/dev/null",
                   const std::vector<std::string>& environment = {});

// A file's whole content (empty when it cannot be read).
std::string textOf(const std::string& path);

} // namespace CliTest
