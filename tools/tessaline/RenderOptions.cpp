#include "RenderOptions.h"

#include "ArgumentText.h"
#include "CommandOptions.h"
#include "OutputFormat.h"

#include <limits>

namespace TessalineTool {

namespace {
constexpr long kMaxBlockSize = 8192;
constexpr long kMaxJobs = 1024;
constexpr long kLowestRoomRate = 8000;
constexpr long kHighestRoomRate = 384000;
constexpr long kMaxSeed = std::numeric_limits<long>::max();

// "30", "30%", "12.5": a share of the room signal from 0 to 100 percent.
bool parsePercent(std::string text, double& fraction)
{
    if (!text.empty() && text.back() == '%')
        text.pop_back();
    double percent = 0.0;
    if (!parseNumber(text, percent) || percent < 0.0 || percent > 100.0)
        return false;
    fraction = percent / 100.0;
    return true;
}

// The file names: IN OUT, several IN with -o DIR, or none (or one with --demo) for the demo.
bool assignFiles(const std::vector<std::string>& files, bool demo, RenderOptions& options, std::string& error)
{
    if (!options.listFile.empty())
    {
        error = demo || !files.empty() || !options.outputFolder.empty()
                    ? "--list takes its inputs and outputs from the list, not from the command line"
                    : "";
        return error.empty();
    }
    if (!options.outputFolder.empty())
    {
        if (demo || files.empty())
        {
            error = demo ? "--demo and -o DIR do not go together" : "-o DIR needs at least one input file";
            return false;
        }
        options.inputs = files;
        return true;
    }
    if (files.size() <= 1 && (demo || files.empty()))
    {
        options.outputPath = files.empty() ? kDefaultDemoOutput : files[0];
        return true;
    }
    if (!demo && files.size() == 2)
    {
        options.inputs = {files[0]};
        options.outputPath = files[1];
        return true;
    }
    error = demo ? "--demo takes at most one file name (OUT)"
                 : "render needs both IN and OUT, or several IN with -o DIR (or no file names, to render the "
                   "demo)";
    return false;
}

// Applies one of render's options that take a value.
bool takeRenderValue(const std::string& arg, const std::string& value, RenderOptions& options,
                     std::string& error)
{
    long block = 0;
    if (arg == "--block")
    {
        if (!parseWholeNumber(value, 1, kMaxBlockSize, block))
        {
            error = "--block wants a whole number from 1 to 8192, not '" + value + "'";
            return false;
        }
        options.blockSize = static_cast<int>(block);
    }
    else if (arg == "--jobs" || arg == "-j")
    {
        if (!parseWholeNumber(value, 1, kMaxJobs, block))
        {
            error = "--jobs wants a whole number from 1 to 1024, not '" + value + "'";
            return false;
        }
        options.jobs = static_cast<int>(block);
    }
    else if (arg == "--vary" && !options.variation.add(value, error))
        return false;
    else if (arg == "--seed")
    {
        if (!parseWholeNumber(value, 0, kMaxSeed, block))
        {
            error =
                "--seed wants a whole number from 0 to " + std::to_string(kMaxSeed) + ", not '" + value + "'";
            return false;
        }
        options.seed = static_cast<uint64_t>(block);
    }
    else if (arg == "--rooms")
    {
        if (value.empty() || value == "-")
        {
            error = "--rooms needs a file name";
            return false;
        }
        options.roomsFile = value;
    }
    else if (arg == "--room-rate")
    {
        if (!parseWholeNumber(value, kLowestRoomRate, kHighestRoomRate, block))
        {
            error = "--room-rate wants a sample rate in Hz from 8000 to 384000, not '" + value + "'";
            return false;
        }
        options.roomRate = static_cast<int>(block);
    }
    else if (arg == "--list")
    {
        if (value.empty())
        {
            error = "--list needs a file name (or - for standard input)";
            return false;
        }
        options.listFile = value;
    }
    else if (arg == "--mix" && !parsePercent(value, options.mix))
    {
        error = "--mix wants a percentage from 0 to 100, not '" + value + "'";
        return false;
    }
    else if (arg == "--normalize")
    {
        if (!parseNumber(value, options.normalizeDbfs) || options.normalizeDbfs > 0.0)
        {
            error = "--normalize wants a peak level in dBFS, 0 or below (e.g. -1), not '" + value + "'";
            return false;
        }
        options.normalize = true;
    }
    else if (arg == "--type")
    {
        if (formatForContainerName(value) == 0)
        {
            error = "--type wants one of " + std::string(kContainerNames) + ", not '" + value + "'";
            return false;
        }
        options.type = value;
    }
    else if (arg == "-o" || arg == "--output-dir")
    {
        if (value.empty())
        {
            error = arg + " needs a folder name";
            return false;
        }
        options.outputFolder = value;
    }
    return true;
}
} // namespace

std::string renderUsage()
{
    return std::string(
               "usage: tessaline render [IN OUT] [--demo [OUT]] [--preset NAME] [--set PARAM=VALUE ...]\n"
               "                        [--mix PERCENT] [--normalize DBFS] [--type TYPE] [--block N]\n"
               "                        [--no-tail] [--any-rate] [--]\n"
               "       tessaline render IN... -o DIR [--jobs N] [options]\n"
               "       tessaline render --list FILE [--jobs N] [options]\n"
               "\n"
               "Renders IN through the Tessaline.vst3 bundle into OUT, at IN's sample rate (8000 to\n"
               "384000 Hz), as a DAW would: the room's time scale follows the rate (T30 1.11 s at\n"
               "48 kHz, 0.62 s at 96 kHz); --room-rate gives every file the room as it sounds at one\n"
               "rate, and --any-rate the room as it sounds at 44.1 kHz at every rate.\n"
               "IN: WAV, AIFF, FLAC or OGG, mono or stereo; - reads standard input.\n"
               "OUT's container is the one its extension names (wav, w64, rf64, aif, aiff, flac, ogg,\n"
               "oga, opus), else --type's, else IN's: 32-bit float samples in WAV (RF64 past 4 GiB),\n"
               "W64 and AIFF, 24-bit in FLAC, Vorbis in OGG, Opus in .opus (both lossy).\n"
               "OUT - writes standard output; an existing device or FIFO is written into, a link's\n"
               "file is replaced; a read-only OUT is refused. A failed render leaves OUT as it was.\n"
               "Without IN and OUT (or with --demo) a built-in dry percussive phrase is rendered\n"
               "into OUT, default ")
           + kDefaultDemoOutput + ".\n"
           + "With -o DIR every IN is rendered into DIR under its own name; a file that fails is\n"
             "reported and the others still render (the exit status is 1 if any failed).\n"
             "Files render N at a time (--jobs), each through its own plug-in instance; the output\n"
             "is the same, bit for bit, whatever N is. Ctrl-C stops every render, leaves no\n"
             "partial file and lists the outputs written and those not; a signal ignored when\n"
             "tessaline started (nohup) stays ignored. A killed run's temporary files\n"
             "(.OUT.tsl-HOST-PID-XXXXXX) are removed by the next render into their folder.\n"
             "With --list every line of FILE (- for standard input) is one job: IN OUT and that\n"
             "job's own --preset, --set and --mix, quoted as in a shell; blank lines and lines\n"
             "starting with # are skipped. The options given on the command line apply to every job\n"
             "first. A bad line is reported with its number and nothing renders. A line starting\n"
             "with { is a job in JSON, as rooms.jsonl holds them (the keys input, output, preset,\n"
             "set, mix and seed, each at most once). Relative file names in a list are taken from\n"
             "the working directory, not from the list's folder.\n"
             "With --vary every output gets its own room: a number drawn evenly from LOW to HIGH,\n"
             "or one of the entries A,B,C, from a generator seeded with --seed and the output's\n"
             "name (its file name under -o DIR, as written in a list line with --list), so the same\n"
             "seed gives the same rooms whatever --jobs is or how a list is split.\n"
             "Each output folder gets a rooms.jsonl (replacing an earlier one) with the exact\n"
             "settings of every output the run wrote, one JSON object per line (--rooms FILE: all\n"
             "of them into FILE, e.g. one per share of a split list; it may not be an input, an\n"
             "output or the list); --list rooms.jsonl renders them again. A render into the folder\n"
             "without --vary drops the lines of the outputs it replaces.\n"
             "\n"
           + kRoomSettingsUsage
           + "  --mix PERCENT       share of the room signal, 0 to 100 (default 100: room only, as the\n"
             "                      plug-in outputs it); the rest is the dry input, not delayed, while\n"
             "                      the room keeps its 255-sample offset, as in a DAW's send\n"
             "  --normalize DBFS    scale the whole output so its peak is at DBFS (0 or below, e.g. -1)\n"
             "  -o, --output-dir DIR  render each IN into DIR (which must exist)\n"
             "  --type TYPE         OUT's container, whatever its name: one of wav, w64, rf64, aiff,\n"
             "                      flac, ogg, opus (for - or a name without an extension)\n"
             "  -j, --jobs N        render N files at a time (default: one per processor)\n"
             "  --list FILE         render the jobs listed in FILE, one per line (- for stdin)\n"
             "  --vary PARAM=LOW:HIGH, --vary PARAM=A,B,C\n"
             "                      draw PARAM for each output from the range or the entries\n"
             "                      (repeatable; after --preset and --set)\n"
             "  --seed S            the seed of --vary's draws (a whole number, default 0)\n"
             "  --rooms FILE        record the drawn rooms in FILE instead of DIR/rooms.jsonl\n"
             "  --room-rate HZ      render through the room as it sounds at HZ (e.g. 48000), whatever\n"
             "                      IN's rate: IN is resampled to HZ for the plug-in and back\n"
             "                      (libsoxr, very high quality); OUT keeps IN's rate and length\n"
             "  --block N           samples per process call (1..8192, default 512)\n"
             "  --no-tail           stop at the end of the input instead of rendering the reverb tail\n"
             "  --                  every argument after it is a file name\n"
             "\n"
             "Samples beyond full scale are reported: float files keep them, 24-bit FLAC and OGG\n"
             "clip them at full scale (never wrap). --normalize or a lower --mix avoids them.\n"
             "`tessaline info` lists the parameters, their ranges and the preset names.\n";
}

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error)
{
    bool demo = false;
    CommandOptions command;
    command.kindOf = [](const std::string& arg) {
        if (arg == "--demo" || arg == "--no-tail")
            return OptionKind::kFlag;
        const bool valued = arg == "--block" || arg == "--mix" || arg == "--normalize" || arg == "-o"
                            || arg == "--output-dir" || arg == "--type" || arg == "--jobs" || arg == "-j"
                            || arg == "--list" || arg == "--vary" || arg == "--seed" || arg == "--room-rate"
                            || arg == "--rooms";
        return valued ? OptionKind::kValued : OptionKind::kUnknown;
    };
    command.take = [&](const std::string& arg, const std::string& value, std::string& message) {
        if (arg == "--demo")
            demo = true;
        else if (arg == "--no-tail")
            options.renderTail = false;
        else
            return takeRenderValue(arg, value, options, message);
        return true;
    };
    std::vector<std::string> files;
    if (!readCommandOptions(args, command, options.room, options.help, files, error))
        return false;
    if (!options.help && !options.variation.empty() && options.listFile.empty()
        && options.outputFolder.empty())
    {
        error = "--vary needs a batch: several IN with -o DIR, or --list";
        return false;
    }
    if (!options.help && !options.roomsFile.empty() && options.variation.empty())
    {
        error = "--rooms records what --vary draws; give --vary too";
        return false;
    }
    return options.help || assignFiles(files, demo, options, error);
}

} // namespace TessalineTool
