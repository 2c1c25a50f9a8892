// A render stopped from outside (Ctrl-C, kill) leaves neither OUT nor its temporary file.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <sndfile.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace CliTest {
namespace {

struct StopCase
{
    const char* name;
    int signalNumber;
};
inline void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class RenderInterrupted : public CliRender, public ::testing::WithParamInterface<StopCase>
{};

TEST_P(RenderInterrupted, LeavesNoFileBehind)
{
    // Long enough, in one-sample blocks, that the render is still running when it is stopped.
    const std::string in = input("long.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 8000 * 600);
    const std::string out = path("out.wav");
    const std::set<std::string> before = files();
    std::string tool = TESSALINE_TOOL_PATH;
    std::string render = "render", block = "--block", one = "1";
    char* argv[] = {tool.data(),
                    render.data(),
                    const_cast<char*>(in.c_str()),
                    const_cast<char*>(out.c_str()),
                    block.data(),
                    one.data(),
                    nullptr};
    // The child starts with default signal handling even when the test runner ignores signals.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, GetParam().signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, tool.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    ASSERT_EQ(spawned, 0);

    // Wait until the temporary output exists, then stop the render.
    bool writing = false;
    for (int poll = 0; poll < 3000 && !writing; ++poll)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        writing = files().size() > before.size();
    }
    kill(child, GetParam().signalNumber);
    int status = 0;
    waitpid(child, &status, 0);

    ASSERT_TRUE(writing) << "the render never started writing";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam().signalNumber)
        << "the program ends the way the signal asks";
    EXPECT_EQ(files(), before);
}

// A batch stopped while two renders are writing: both temporary files go, no output appears, and
// the files not yet started are never begun.
TEST_P(RenderInterrupted, BatchLeavesNoFileBehind)
{
    std::vector<std::string> inputs;
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"})
        inputs.push_back(input(name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 8000 * 600));
    std::filesystem::create_directory(path("out"));
    std::vector<std::string> args{TESSALINE_TOOL_PATH, "render"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), {"-o", path("out"), "--jobs", "2", "--block", "1"});
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, GetParam().signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, args[0].c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    ASSERT_EQ(spawned, 0);

    auto writing = [&] {
        size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(path("out")))
            count += entry.path().filename().string().rfind(".tsl-", 0) == 0;
        return count;
    };
    bool both = false;
    for (int poll = 0; poll < 3000 && !both; ++poll)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        both = writing() == 2;
    }
    kill(child, GetParam().signalNumber);
    int status = 0;
    waitpid(child, &status, 0);

    ASSERT_TRUE(both) << "two renders never ran at once";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam().signalNumber)
        << "the program ends the way the signal asks";
    EXPECT_TRUE(std::filesystem::is_empty(path("out")));
}

INSTANTIATE_TEST_SUITE_P(Signals, RenderInterrupted,
                         ::testing::Values(StopCase{"Interrupt", SIGINT}, StopCase{"Terminate", SIGTERM}),
                         TestSupport::caseName<StopCase>);

} // namespace
} // namespace CliTest
