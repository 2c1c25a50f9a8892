#include "CommandHelp.h"

#include "OutputFormat.h"
#include "RateLimits.h"

namespace TessalineTool {

const char* const kExitStatusText =
    "0 when the command did all it was asked, 2 for a mistake on the command line (an "
    "unknown option, a missing or bad value, the wrong file names), 1 for any other failure (a file that "
    "cannot be read or written, a setting the plug-in does not take, a file of a batch that failed). A stop "
    "signal (Ctrl-C, kill) ends the program the way the signal asks.";

namespace {
constexpr size_t kWidth = 80;
constexpr size_t kHelpColumn = 22; // where an option's help starts

// The words of text from `column` on, in lines of at most kWidth columns; each further line is
// indented by `indent`.
std::string wrapped(const std::string& text, size_t indent, size_t column)
{
    std::string out;
    size_t at = 0;
    bool lineEmpty = true;
    while (at < text.size())
    {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        if (!lineEmpty && column + 1 + word.size() > kWidth)
        {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty)
        {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out + "\n";
}

std::vector<CommandText> describeCommands()
{
    const std::string rates = rateRangeText();
    return {
        {"info", kInfoScope, "factory, class, parameters, units and presets (--json for scripts)",
         "tessaline info [--json]",
         "Shows what a host sees of the bundle: factory, class, parameters with their ranges, defaults\n"
         "and flags, units and presets. --json prints the bundle's identity, the parameters (with the\n"
         "entries of list parameters) and the preset names as one JSON document for scripts.",
         ""},
        {"render", kRenderScope,
         "render IN to OUT through the plug-in (several IN with -o DIR; no files: the demo)",
         "tessaline render [IN OUT] [--demo [OUT]] [--preset NAME] [--set PARAM=VALUE ...]\n"
         "                 [--mix PERCENT] [--normalize DBFS] [--type TYPE] [--block N]\n"
         "                 [--no-tail] [--any-rate] [--]\n"
         "tessaline render IN... -o DIR [--jobs N] [options]\n"
         "tessaline render --list FILE [--jobs N] [options]",
         "Renders IN through the Tessaline.vst3 bundle into OUT, at IN's sample rate\n(" + rates
             + " Hz), as a DAW would: the room's time scale follows the rate (T30\n"
               "1.11 s at 48 kHz, 0.62 s at 96 kHz); --room-rate gives every file the room as it\n"
               "sounds at one rate, and --any-rate the room as it sounds at 44.1 kHz at every rate.\n"
               "IN: WAV, AIFF, FLAC or OGG, mono or stereo; - reads standard input.\n"
               "OUT's container is the one its extension names\n("
             + kContainerNames
             + "), else --type's, else IN's: 32-bit\n"
               "float samples in WAV (RF64 past 4 GiB), W64 and AIFF, 24-bit in FLAC, Vorbis in\n"
               "OGG, Opus in .opus (both lossy).\n"
               "OUT - writes standard output; an existing device or FIFO is written into, a link's\n"
               "file is replaced; a read-only OUT is refused. A failed render leaves OUT as it was.\n"
               "Without IN and OUT (or with --demo) a built-in dry percussive phrase is rendered\n"
               "into OUT, default "
             + kDefaultDemoOutput
             + ".\n"
               "\n"
               "With -o DIR every IN is rendered into DIR under its own name; a file that fails is\n"
               "reported and the others still render (the exit status is 1 if any failed).\n"
               "Files render N at a time (--jobs), each through its own plug-in instance; the output\n"
               "is the same, bit for bit, whatever N is. Ctrl-C stops every render, leaves no\n"
               "partial file and lists the outputs written and those not; a signal ignored when\n"
               "tessaline started (nohup) stays ignored. A killed run's temporary files\n"
               "(.OUT.tsl-HOST-PID-XXXXXX) are removed by the next render into their folder.\n"
               "\n"
               "With --list every line of FILE (- for standard input) is one job: IN OUT and that\n"
               "job's own "
             +
             [] {
                 std::string names;
                 for (const Option* option : optionsOf(kJobScope))
                     names += (names.empty() ? "" : ", ") + std::string(option->name);
                 return names;
             }()
             + ", quoted as in a shell; blank lines and lines\n"
               "starting with # are skipped. The options given on the command line apply to every job\n"
               "first. A bad line is reported with its number and nothing renders. A line starting\n"
               "with { is a job in JSON, as rooms.jsonl holds them (the keys input, output, preset,\n"
               "set, mix and seed, each at most once). Relative file names in a list are taken from\n"
               "the working directory, not from the list's folder.\n"
               "\n"
               "With --vary every output gets its own room: a number drawn evenly from LOW to HIGH,\n"
               "or one of the entries A,B,C, from a generator seeded with --seed and the output's\n"
               "name (its file name under -o DIR, as written in a list line with --list), so the same\n"
               "seed gives the same rooms whatever --jobs is or how a list is split.\n"
               "Each output folder gets a rooms.jsonl (replacing an earlier one) with the exact\n"
               "settings of every output the run wrote, one JSON object per line (--rooms FILE: all\n"
               "of them into FILE, e.g. one per share of a split list; it may not be an input, an\n"
               "output or the list); --list rooms.jsonl renders them again. A render into the folder\n"
               "without --vary drops the lines of the outputs it replaces.",
         "Samples beyond full scale are reported: float files keep them, 24-bit FLAC and OGG\n"
         "clip them at full scale (never wrap). --normalize or a lower --mix avoids them.\n"
         "`tessaline info` lists the parameters, their ranges and the preset names."},
        {"ir", kIrScope, "write the room's impulse response (32-bit float WAV unless OUT names another)",
         "tessaline ir OUT [--preset NAME] [--set PARAM=VALUE ...] [--rate HZ] [--length SECONDS]\n"
         "             [--type TYPE] [--any-rate] [--]",
         "Writes the room's stereo impulse response for these settings into OUT: exactly what the\n"
         "plug-in outputs for a unit impulse on both inputs, once the settings have reached the\n"
         "whole room. Sample 0 is the impulse; the room answers from sample 255 on, as in the\n"
         "plug-in. OUT's container is the one its extension names\n("
             + std::string(kContainerNames)
             + "), else --type's, else 32-bit float WAV.\nOUT - writes standard output.",
         ""},
        {"plot", kPlotScope, "draw the room's response, decay and reverberation times into a PNG",
         "tessaline plot OUT.png [--preset NAME] [--set PARAM=VALUE ...] [--size WxH]\n"
         "                       [--rate HZ] [--length SECONDS] [--any-rate] [--]",
         "Draws the room for these settings into a PNG: both ears' impulse response over time,\n"
         "linear and in dB, with where it ends and how far down its last 10 ms are; the energy\n"
         "decay curve with its T30; and T30 per octave band from 125 Hz to 8 kHz. The response\n"
         "is the one `tessaline ir` writes. The T30 values and the end level are also printed,\n"
         "and stored in the PNG as texts \"T30\", \"T30 125 Hz\", ... \"T30 8k Hz\", \"End\".",
         ""},
    };
}

// Each line of a synopsis after the first is aligned under the first's words.
std::string usageLines(const std::string& synopsis)
{
    std::string out = "usage: ";
    for (const char c : synopsis)
        out += c == '\n' ? std::string("\n       ") : std::string(1, c);
    return out + "\n";
}
} // namespace

const std::vector<CommandText>& commandTexts()
{
    static const std::vector<CommandText> commands = describeCommands();
    return commands;
}

const CommandText* findCommand(const std::string& name)
{
    for (const CommandText& command : commandTexts())
        if (name == command.name)
            return &command;
    return nullptr;
}

std::string optionLines(Scope scope)
{
    std::string out;
    for (const Option* option : optionsOf(scope))
    {
        const std::string heading = "  " + optionHeading(*option);
        // A heading too long for its column stands on a line of its own.
        out += heading.size() + 2 > kHelpColumn ? heading + "\n" + std::string(kHelpColumn, ' ')
                                                : heading + std::string(kHelpColumn - heading.size(), ' ');
        out += wrapped(option->help, kHelpColumn, kHelpColumn);
    }
    return out;
}

std::string commandHelp(const CommandText& command)
{
    std::string text = usageLines(command.synopsis) + "\n" + command.description + "\n\noptions:\n"
                       + optionLines(command.scope);
    if (!command.notes.empty())
        text += "\n" + command.notes + "\n";
    return text + "\n" + wrapped(std::string("Exit status: ") + kExitStatusText, 0, 0);
}

std::string toolHelp(const std::string& bundleDefault)
{
    std::string text = "usage: tessaline [--bundle PATH] <command> [args]\n"
                       "       tessaline --version | --help\n\n"
                       "Loads the Tessaline room reverb (a VST3 bundle) and runs one command on it.\n\n"
                       "commands:\n";
    for (const CommandText& command : commandTexts())
    {
        std::string name = command.name;
        name.resize(8, ' ');
        text += "  " + name + " " + command.summary + "\n";
    }
    text += "\noptions:\n" + optionLines(kToolScope);
    text += "\n`tessaline <command> --help` explains a command's options.\n"
            "The bundle defaults to "
            + bundleDefault + "\n\n" + wrapped(std::string("Exit status: ") + kExitStatusText, 0, 0);
    return text;
}

} // namespace TessalineTool
