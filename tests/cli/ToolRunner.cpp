#include "ToolRunner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace CliTest {

namespace {
std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
} // namespace

std::string textOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolResult runTool(const std::vector<std::string>& args, const std::string& folder,
                   const std::string& stdinPath, const std::vector<std::string>& environment)
{
    const std::string outPath = folder + "/.tool-stdout";
    const std::string errPath = folder + "/.tool-stderr";
    std::string command = "cd " + shellQuoted(folder) + " && env";
    for (const std::string& setting : environment)
        command += " " + shellQuoted(setting);
    command += " " + shellQuoted(TESSALINE_TOOL_PATH);
    for (const std::string& arg : args)
        command += " " + shellQuoted(arg);
    command += " >" + shellQuoted(outPath) + " 2>" + shellQuoted(errPath) + " <" + shellQuoted(stdinPath);
    const int status = std::system(command.c_str());
    ToolResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = textOf(outPath);
    result.err = textOf(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return result;
}

} // namespace CliTest
