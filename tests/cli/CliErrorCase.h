// Refused command lines: each case names the arguments and a part of the message standard error
// must carry; the fixture checks that the tool exits non-zero with it and writes nothing.
#pragma once

#include "CliFixture.h"

#include <sndfile.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace CliTest {

struct ErrorCase
{
    const char* name;
    std::vector<std::string> args; // "@" prefixes a name in the scratch folder
    const char* message;           // part of what stderr must say
};
inline void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class CliErrors : public CliRender, public ::testing::WithParamInterface<ErrorCase>
{
protected:
    void SetUp() override
    {
        CliRender::SetUp();
        input("in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    }

    // Runs the case: a non-zero exit, the message, and no output or temporary file left.
    void expectRefused(const ErrorCase& c)
    {
        const std::set<std::string> before = files();
        std::vector<std::string> args;
        for (const std::string& arg : c.args)
            args.push_back(!arg.empty() && arg[0] == '@' ? path(arg.substr(1)) : arg);

        const ToolResult result = run(args);

        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << "stderr: " << result.err;
        EXPECT_EQ(files(), before) << "no output and no temporary file is left";
    }
};

} // namespace CliTest
