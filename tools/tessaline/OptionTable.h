// Every option of `tessaline` described once: its names, the kind of value it takes, which
// commands take it and its help. The parser, `--help`, the manual page and the bash completion
// are all made from this table.
#pragma once

#include <string>
#include <vector>

namespace TessalineTool {

// Where an option may be given, as bits: one command can take an option several share.
enum Scope : unsigned
{
    kToolScope = 1u << 0,   // before the command: tessaline --bundle PATH render ...
    kRenderScope = 1u << 1, // tessaline render
    kIrScope = 1u << 2,     // tessaline ir
    kPlotScope = 1u << 3,   // tessaline plot
    kInfoScope = 1u << 4,   // tessaline info
    kJobScope = 1u << 5,    // a job line of `render --list`, after IN OUT
};

enum class OptionId
{
    kBundle,
    kVersion,
    kHelp,
    kEndOfOptions,
    kPreset,
    kSet,
    kAnyRate,
    kDemo,
    kMix,
    kNormalize,
    kOutputDir,
    kType,
    kJobs,
    kList,
    kVary,
    kSeed,
    kRooms,
    kRoomRate,
    kBlock,
    kNoTail,
    kRate,
    kLength,
    kSize,
    kJson,
};

// What an option's value is; it decides what the completion offers for it.
enum class ValueKind
{
    kNone,      // a flag: no value
    kFolder,    // an existing folder (the bundle, -o DIR)
    kListFile,  // any file, or - for standard input
    kRoomsFile, // a rooms record (.jsonl)
    kPreset,    // a factory preset's name
    kSetting,   // PARAM=VALUE
    kVariation, // PARAM=LOW:HIGH or PARAM=A,B,C
    kContainer, // a container name (wav, flac, ...)
    kRate,      // a sample rate in Hz
    kJobs,      // a number of files at a time
    kWhole,     // a whole number (block size, seed)
    kPercent,   // 0 to 100
    kDecibels,  // a level in dBFS
    kSeconds,   // a length in seconds
    kPixels,    // WIDTHxHEIGHT
};

struct Option
{
    OptionId id;
    const char* name;      // "--output-dir"
    const char* shortName; // "-o", or null
    const char* valueName; // "DIR", or null for a flag
    ValueKind kind;
    unsigned scopes;  // Scope bits
    std::string help; // one paragraph; the help and the manual page wrap it
};

// The whole table, in the order the help lists the options.
const std::vector<Option>& optionTable();

// The options of one scope, in table order.
std::vector<const Option*> optionsOf(Scope scope);

// The option of that scope named arg (its long or short name), or null.
const Option* findOption(Scope scope, const std::string& arg);

// "-o, --output-dir DIR", as the help and the manual page head an option's entry.
std::string optionHeading(const Option& option);

// The names of a scope's options, long names first, as a completion offers them.
std::vector<std::string> optionNames(Scope scope);

// The sample rates the completion offers for a rate.
extern const char* const kCommonRates;

// The demo lands here when render is given no file names.
constexpr const char* kDefaultDemoOutput = "tessaline-demo.wav";

} // namespace TessalineTool
