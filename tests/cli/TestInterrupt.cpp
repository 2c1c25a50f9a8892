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
    bool batch; // four files into a folder, two at a time; else one IN OUT
};
inline void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class RenderInterrupted : public CliRender, public ::testing::WithParamInterface<StopCase>
{};

// How many temporary outputs are being written in folder; each is named after its output
// (".a.wav.tsl-…" for a.wav), so a left-over one tells whose it was.
size_t temporaryFiles(const std::string& folder)
{
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        const std::string name = entry.path().filename().string();
        const size_t mark = name.find(".tsl-");
        if (mark == std::string::npos || mark < 2 || name[0] != '.')
            continue;
        const std::string output = name.substr(1, mark - 1);
        count += output == "out.wav" || output == "a.wav" || output == "b.wav" || output == "c.wav"
                 || output == "d.wav";
    }
    return count;
}

// Starts the program with default handling of signalNumber, even when the test runner ignores
// it; the child's id, or -1.
pid_t spawnTool(std::vector<std::string> args, int signalNumber)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? child : -1;
}

// Stopped while every render it runs at once is writing, the program removes their temporary
// files, leaves no output and never begins the files not yet started.
TEST_P(RenderInterrupted, LeavesNoFileBehind)
{
    const StopCase& c = GetParam();
    // Long enough, in one-sample blocks, that the renders are still running when stopped.
    std::vector<std::string> args{TESSALINE_TOOL_PATH, "render"};
    for (const char* name : c.batch ? std::vector<const char*>{"a.wav", "b.wav", "c.wav", "d.wav"}
                                    : std::vector<const char*>{"long.wav"})
        args.push_back(input(name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 8000 * 600));
    const std::string outputs = c.batch ? path("out") : folder;
    if (c.batch)
    {
        std::filesystem::create_directory(outputs);
        args.insert(args.end(), {"-o", outputs, "--jobs", "2"});
    }
    else
        args.push_back(path("out.wav"));
    args.insert(args.end(), {"--block", "1"});
    const size_t renders = c.batch ? 2 : 1;
    const std::set<std::string> before = files();
    const pid_t child = spawnTool(args, c.signalNumber);
    ASSERT_GT(child, 0);

    // Wait until every render writes its temporary output, then stop the program.
    bool writing = false;
    for (int poll = 0; poll < 3000 && !writing; ++poll)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        writing = temporaryFiles(outputs) == renders;
    }
    kill(child, c.signalNumber);
    int status = 0;
    waitpid(child, &status, 0);

    ASSERT_TRUE(writing) << renders << " render(s) never wrote at once";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signalNumber)
        << "the program ends the way the signal asks";
    EXPECT_EQ(files(), before);
    if (c.batch)
    {
        EXPECT_TRUE(std::filesystem::is_empty(outputs));
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, RenderInterrupted,
                         ::testing::Values(StopCase{"Interrupt", SIGINT, false},
                                           StopCase{"Terminate", SIGTERM, false},
                                           StopCase{"BatchInterrupt", SIGINT, true},
                                           StopCase{"BatchTerminate", SIGTERM, true}),
                         TestSupport::caseName<StopCase>);

// ir and plot stopped at any moment of their work (loading, measuring, writing) end by the
// signal (unless already done) and leave no temporary file; OUT is either not there or whole.
TEST_F(CliRender, MeasuringCommandsStopAsRendersDo)
{
    const struct
    {
        const char* command;
        const char* output;
    } commands[] = {{"ir", "ir.wav"}, {"plot", "room.png"}};
    for (const auto& c : commands)
        for (const int delay : {100, 400, 900})
        {
            const pid_t child = spawnTool(
                {TESSALINE_TOOL_PATH, c.command, path(c.output), "--rate", "96000", "--length", "60"},
                SIGTERM);
            ASSERT_GT(child, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            kill(child, SIGTERM);
            int status = 0;
            waitpid(child, &status, 0);
            const std::string when = std::string(c.command) + " after " + std::to_string(delay) + " ms";
            const std::set<std::string> left = files();
            // A fast machine may finish the work before the signal comes: then it succeeded
            // and OUT is there (and whole, below); else it ends the way the signal asks.
            const bool stopped = WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
            const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && left.count(c.output) == 1;
            EXPECT_TRUE(stopped || finished) << when;
            EXPECT_TRUE(left.empty() || left == std::set<std::string>{c.output}) << when;
            if (left.count("ir.wav"))
            {
                Sound written;
                EXPECT_TRUE(readSound(path("ir.wav"), written)) << when;
                EXPECT_EQ(written.frames(), 96000L * 60) << when;
            }
            std::filesystem::remove(path(c.output));
        }
}

} // namespace
} // namespace CliTest
