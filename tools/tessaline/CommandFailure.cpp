#include "CommandFailure.h"

#include <cstdio>

namespace TessalineTool {

int fail(const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\n", message.c_str());
    return kExitFailure;
}

int failUsage(const std::string& command, const std::string& message)
{
    std::fprintf(stderr, "tessaline: %s\nsee tessaline %s --help\n", message.c_str(), command.c_str());
    return kExitUsage;
}

} // namespace TessalineTool
