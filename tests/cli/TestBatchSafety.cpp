// What a batch may never do: replace a file the user did not name as an output, die of a signal
// the user told it to ignore, leave scratch files nobody can place, report an output that does
// not read back, or keep a record of rooms the files no longer hold.
#include "CliFixture.h"
#include "support/CaseNames.h"

#include <sndfile.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace CliTest {
namespace {

void writeText(const std::string& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

// Starts `sh -c script` in folder with the tool as $0; its process id.
pid_t startShell(const std::string& folder, const std::string& script, const std::vector<std::string>& args)
{
    std::vector<std::string> words{"/bin/sh", "-c", "cd \"$1\" && shift && " + script, TESSALINE_TOOL_PATH,
                                   folder};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, "/bin/sh", nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? child : -1;
}

// Polls (up to 15 s) until ready() holds.
template <typename Ready>
bool waitFor(Ready ready)
{
    for (int poll = 0; poll < 3000; ++poll)
    {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

size_t temporariesIn(const std::string& folder)
{
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().filename().string().find(".tsl-") != std::string::npos;
    return count;
}

// The machine's name as temporary files carry it.
std::string hostPart()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    std::string host(name);
    host = host.substr(0, host.find('.'));
    for (char& c : host)
        if (c == '-' || c == '/')
            c = '_';
    return host.substr(0, 32);
}

// A process id that no process holds any more.
pid_t deadProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class BatchSafety : public CliRender
{
protected:
    void SetUp() override
    {
        CliRender::SetUp();
        a = input("a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 16000, 1600);
        b = input("b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 16000, 1600);
        std::filesystem::create_directory(path("out"));
    }
    // Long enough in one-sample blocks that a render is still running when it is stopped.
    std::string longInput(const std::string& name)
    {
        return input(name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 8000 * 600);
    }
    std::string a, b;
};

// --rooms naming a file of the same run (by its name, by another spelling, through a link) is
// refused before anything renders, and that file keeps its bytes.
struct RoomsCase
{
    const char* name;
    std::vector<std::string> args; // after "render"
    const char* kept;              // the file that must keep its bytes
    const char* message;
};
inline void PrintTo(const RoomsCase& c, std::ostream* os) { *os << c.name; }

class RoomsRecordTarget : public BatchSafety, public ::testing::WithParamInterface<RoomsCase>
{};

TEST_P(RoomsRecordTarget, IsRefusedBeforeAnythingIsWritten)
{
    const RoomsCase& c = GetParam();
    writeText(path("jobs.txt"), "# my jobs\na.wav out/x.wav\nb.wav out/y.wav\n");
    std::filesystem::create_symlink("a.wav", path("link.wav"));
    writeText(path("out/y.wav"), "an older take");
    const std::string before = textOf(path(c.kept));
    std::vector<std::string> args{"render"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--vary", "Gain=0.1:0.9"});
    const ToolResult result = run(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(textOf(path(c.kept)), before);
    EXPECT_FALSE(std::filesystem::exists(path("out/x.wav")));
    EXPECT_FALSE(std::filesystem::exists(path("out/a.wav")));
}

INSTANTIATE_TEST_SUITE_P(Cases, RoomsRecordTarget,
                         ::testing::Values(RoomsCase{"AnInput",
                                                     {"a.wav", "b.wav", "-o", "out", "--rooms", "a.wav"},
                                                     "a.wav",
                                                     "would replace the input"},
                                           RoomsCase{"AnInputThroughALink",
                                                     {"a.wav", "b.wav", "-o", "out", "--rooms", "link.wav"},
                                                     "a.wav",
                                                     "would replace the input"},
                                           RoomsCase{"TheJobList",
                                                     {"--list", "jobs.txt", "--rooms", "./jobs.txt"},
                                                     "jobs.txt",
                                                     "would replace the job list"},
                                           RoomsCase{"ANewOutputSpelledOtherwise",
                                                     {"--list", "jobs.txt", "--rooms", "./out/../out/x.wav"},
                                                     "jobs.txt",
                                                     "is also the output"},
                                           RoomsCase{"AnExistingOutput",
                                                     {"--list", "jobs.txt", "--rooms", "out/y.wav"},
                                                     "out/y.wav",
                                                     "is also the output"}),
                         TestSupport::caseName<RoomsCase>);

// A batch started with SIGHUP ignored (nohup) outlives the terminal's hang-up and writes everything.
TEST_F(BatchSafety, NohupBatchSurvivesHangUp)
{
    longInput("l1.wav");
    longInput("l2.wav");
    const pid_t child =
        startShell(folder, "trap '' HUP && exec \"$0\" \"$@\"",
                   {"render", "l1.wav", "l2.wav", "-o", "out", "--jobs", "2", "--block", "64"});
    ASSERT_GT(child, 0);
    const bool writing = waitFor([&] { return temporariesIn(path("out")) == 2; });
    kill(child, SIGHUP);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(writing);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    for (const char* name : {"out/l1.wav", "out/l2.wav"})
    {
        Sound sound;
        EXPECT_TRUE(readSound(path(name), sound)) << name;
    }
}

// A stopped batch says which outputs it wrote and which not, and its rooms record lists exactly
// the written ones.
TEST_F(BatchSafety, StoppedBatchReportsAndRecordsWhatItWrote)
{
    longInput("l1.wav");
    const std::string err = path("stderr.txt");
    const pid_t child = startShell(
        folder, "exec \"$0\" \"$@\" 2>stderr.txt",
        {"render", "a.wav", "l1.wav", "-o", "out", "--jobs", "2", "--block", "1", "--vary", "Gain=0.1:0.9"});
    ASSERT_GT(child, 0);
    const bool writing = waitFor(
        [&] { return std::filesystem::exists(path("out/a.wav")) && temporariesIn(path("out")) == 1; });
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(writing);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    const std::string said = textOf(err);
    EXPECT_NE(said.find("1 of 2 outputs were written: 'out/a.wav'"), std::string::npos) << said;
    EXPECT_NE(said.find("not written: 'out/l1.wav'"), std::string::npos) << said;
    const std::string record = textOf(path("out/rooms.jsonl"));
    EXPECT_NE(record.find("\"out/a.wav\""), std::string::npos) << record;
    EXPECT_EQ(record.find("l1.wav"), std::string::npos) << record;
    EXPECT_EQ(temporariesIn(path("out")), 0u);
}

// The temporary files a killed run left are removed by the next render into their folder; files
// that only look alike (another machine's, a live process's, other shapes) are not touched.
TEST_F(BatchSafety, NextRunRemovesOnlyStaleTemporariesOfOurs)
{
    const std::string host = hostPart();
    const std::string dead = std::to_string(deadProcess());
    const std::string live = std::to_string(getpid());
    const std::string stale = ".a.wav.tsl-" + host + "-" + dead + "-Ab3dEf";
    const std::vector<std::string> others{".a.wav.tsl-" + host + "_other-" + dead
                                              + "-Ab3dEf",                                // another machine
                                          ".a.wav.tsl-" + host + "-" + live + "-Ab3dEf",  // a live process
                                          "a.wav.tsl-" + host + "-" + dead + "-Ab3dEf",   // not hidden
                                          ".a.wav.tsl-" + host + "-" + dead + "-Ab3dEfG", // another length
                                          ".tsl-Ab3dEf",                                  // no output named
                                          "notes.txt"};
    writeText(path("out/" + stale), "left by a killed run");
    for (const std::string& name : others)
        writeText(path("out/" + name), "not ours");
    const ToolResult result = run({"render", "a.wav", "-o", "out", "--no-tail"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(std::filesystem::exists(path("out/" + stale)));
    for (const std::string& name : others)
        EXPECT_EQ(textOf(path("out/" + name)), "not ours") << name;
}

// JSON job lines take only their own keys, once each; a byte-order mark before the first line
// is not part of it. A bad line stops the list before anything renders.
struct ListCase
{
    const char* name;
    const char* text;
    const char* message; // "" when the list must render
};
inline void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class JobListText : public BatchSafety, public ::testing::WithParamInterface<ListCase>
{};

TEST_P(JobListText, IsTakenOrRefusedWithItsLine)
{
    const ListCase& c = GetParam();
    writeText(path("jobs.txt"), c.text);
    const ToolResult result = run({"render", "--list", "jobs.txt", "--no-tail"});
    if (*c.message == '\0')
    {
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(std::filesystem::exists(path("out/x.wav")));
        return;
    }
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(path("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobListText,
    ::testing::Values(
        ListCase{"ByteOrderMarkBeforeAComment", "\xEF\xBB\xBF# jobs\na.wav out/x.wav\n", ""},
        ListCase{"ByteOrderMarkBeforeAJob",
                 "\xEF\xBB\xBF"
                 "a.wav out/x.wav\n",
                 ""},
        ListCase{"JsonWithItsSeedNote", "{\"input\":\"a.wav\",\"output\":\"out/x.wav\",\"seed\":3}\n", ""},
        ListCase{"JsonUnknownKey",
                 "a.wav out/w.wav\n{\"input\":\"a.wav\",\"output\":\"out/x.wav\",\"presets\":\"Studio\"}\n",
                 "line 2: unknown key \"presets\""},
        ListCase{"JsonMisspeltSet",
                 "{\"input\":\"a.wav\",\"output\":\"out/x.wav\",\"sets\":[\"Gain=0.2\"]}\n",
                 "line 1: unknown key \"sets\""},
        ListCase{"JsonRepeatedKey", "{\"input\":\"a.wav\",\"output\":\"out/x.wav\",\"mix\":50,\"mix\":20}\n",
                 "line 1: the key \"mix\" is given twice"}),
    TestSupport::caseName<ListCase>);

// An empty render (an empty input, no tail) is written only where the file reads back empty;
// elsewhere it is refused and nothing is left.
struct EmptyCase
{
    const char* name;
    const char* output;
    bool written;
};
inline void PrintTo(const EmptyCase& c, std::ostream* os) { *os << c.name; }

class EmptyRender : public BatchSafety, public ::testing::WithParamInterface<EmptyCase>
{};

TEST_P(EmptyRender, ReadsBackOrIsRefused)
{
    const EmptyCase& c = GetParam();
    input("empty.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 0);
    const std::set<std::string> before = files();
    const ToolResult result = run({"render", "empty.wav", c.output, "--no-tail"});
    if (!c.written)
    {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("the render is empty"), std::string::npos) << result.err;
        EXPECT_EQ(files(), before);
        return;
    }
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("0.00 s"), std::string::npos) << result.out;
    Sound sound;
    ASSERT_TRUE(readSound(path(c.output), sound));
    EXPECT_EQ(sound.frames(), 0);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.sampleRate, 48000);
}

INSTANTIATE_TEST_SUITE_P(Cases, EmptyRender,
                         ::testing::Values(EmptyCase{"Wav", "e.wav", true}, EmptyCase{"W64", "e.w64", true},
                                           EmptyCase{"Flac", "e.flac", false},
                                           EmptyCase{"Opus", "e.opus", false},
                                           EmptyCase{"Aiff", "e.aiff", false}),
                         TestSupport::caseName<EmptyCase>);

// A render without --vary into a folder (a batch or one IN OUT) drops the lines its replaced
// outputs had in the old record, and removes the record once it describes nothing.
TEST_F(BatchSafety, RenderWithoutVaryForgetsTheRoomsItReplaced)
{
    ASSERT_EQ(run({"render", "a.wav", "b.wav", "-o", "out", "--vary", "Gain=0.1:0.9", "--no-tail"}).exitCode,
              0);
    ASSERT_NE(textOf(path("out/rooms.jsonl")).find("out/a.wav"), std::string::npos);
    // The same rooms rendered again from the record leave it as it was: it is still true.
    const std::string varied = textOf(path("out/rooms.jsonl"));
    ASSERT_EQ(run({"render", "--list", "out/rooms.jsonl", "--no-tail"}).exitCode, 0);
    EXPECT_EQ(textOf(path("out/rooms.jsonl")), varied);

    const ToolResult first = run({"render", "a.wav", "-o", "out/", "--no-tail"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("wrote out/a.wav "), std::string::npos) << "one slash: " << first.out;
    EXPECT_NE(first.err.find("no longer lists"), std::string::npos) << first.err;
    const std::string record = textOf(path("out/rooms.jsonl"));
    EXPECT_EQ(record.find("out/a.wav"), std::string::npos) << record;
    EXPECT_NE(record.find("out/b.wav"), std::string::npos) << record;

    ASSERT_EQ(run({"render", "b.wav", "out/b.wav", "--no-tail"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(path("out/rooms.jsonl")));
}

// Standard input on a terminal or empty, and standard output on a terminal, are refused with a
// message that says so. (A pseudo-terminal's master side stands in for the terminal.)
TEST_F(BatchSafety, TerminalsAndEmptyStandardInputAreRefused)
{
    const ToolResult fromTerminal = runTool({"render", "-", "out/x.wav"}, folder, "/dev/ptmx");
    EXPECT_EQ(fromTerminal.exitCode, 1);
    EXPECT_NE(fromTerminal.err.find("standard input is a terminal"), std::string::npos) << fromTerminal.err;

    const ToolResult empty = run({"render", "-", "out/x.wav"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("standard input is empty"), std::string::npos) << empty.err;

    const pid_t child =
        startShell(folder, "exec \"$0\" \"$@\" >/dev/ptmx 2>stderr.txt", {"render", "a.wav", "-"});
    ASSERT_GT(child, 0);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_NE(textOf(path("stderr.txt")).find("standard output is a terminal"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(path("out")));
}

// --vary takes what the parameter takes: a list's entries (a range over one names them), a
// parameter once, and for a switch (Decay Type, Bypass) whole numbers only.
TEST_F(BatchSafety, VaryFollowsTheParametersKind)
{
    const struct
    {
        std::vector<std::string> vary;
        const char* message;
    } refused[] = {
        {{"Position=2:5"},
         "is a list, not a number; draw from its entries, e.g. --vary \"Position=Center,L22,"},
        {{"Stereo/Mono=0:1"}, "--vary \"Stereo/Mono=Stereo,Mono\""},
        {{"Gain=0:1", "gain=0.2:0.3"}, "\"Gain\" is varied twice"},
        {{"Decay Type=0.2:0.8"}, "takes whole numbers, and none lies from 0.2000 to 0.8000"},
    };
    for (const auto& c : refused)
    {
        std::vector<std::string> args{"render", "a.wav", "b.wav", "-o", "out"};
        for (const std::string& vary : c.vary)
            args.insert(args.end(), {"--vary", vary});
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 1) << c.vary[0];
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(path("out"))) << c.vary[0];
    }

    std::vector<std::string> args{"render",    "a.wav",  "b.wav",          "-o",     "out",
                                  "--no-tail", "--vary", "Decay Type=0:1", "--vary", "Bypass=0:1"};
    std::set<std::string> drawn;
    for (const char* seed : {"1", "2", "3", "4", "5", "6"})
    {
        std::vector<std::string> seeded = args;
        seeded.insert(seeded.end(), {"--seed", seed});
        ASSERT_EQ(run(seeded).exitCode, 0);
        std::istringstream record(textOf(path("out/rooms.jsonl")));
        for (std::string line; std::getline(record, line);)
            for (const char* key : {"\"Decay Type=", "\"Bypass="})
            {
                const size_t at = line.find(key);
                ASSERT_NE(at, std::string::npos) << line;
                drawn.insert(line.substr(at + 1, line.find('"', at + 1) - at - 1));
            }
    }
    EXPECT_EQ(drawn, (std::set<std::string>{"Decay Type=0", "Decay Type=1", "Bypass=0", "Bypass=1"}));
}

// Every command reports a mistake on its command line with exit status 2, any other failure with 1.
TEST_F(BatchSafety, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", "a.wav", "x.wav", "--bogus"},
          {"render", "--room-rate", "768000"},
          {"ir", "ir.wav", "--bogus"},
          {"plot", "p.png", "--bogus"},
          {"info", "--bogus"},
          {"bogus"}})
    {
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args.back() << ": " << result.err;
    }
    EXPECT_EQ(run({"render", "missing.wav", "x.wav"}).exitCode, 1);
}

} // namespace
} // namespace CliTest
