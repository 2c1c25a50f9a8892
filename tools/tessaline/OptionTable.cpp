#include "OptionTable.h"

#include "OutputFormat.h"
#include "RateLimits.h"

namespace TessalineTool {

const char* const kCommonRates = "16000 22050 44100 48000 88200 96000 192000";

namespace {
constexpr unsigned kRoomScopes = kRenderScope | kIrScope | kPlotScope;
constexpr unsigned kCommandScopes = kRenderScope | kIrScope | kPlotScope | kInfoScope;

std::vector<Option> describeOptions()
{
    const std::string rates = rateRangeText();
    return {
        {OptionId::kBundle, "--bundle", nullptr, "PATH", ValueKind::kFolder, kToolScope,
         "the Tessaline.vst3 bundle to load"},
        {OptionId::kVersion, "--version", nullptr, nullptr, ValueKind::kNone, kToolScope,
         "print the version and exit"},
        {OptionId::kDemo, "--demo", nullptr, nullptr, ValueKind::kNone, kRenderScope,
         std::string("render the built-in dry percussive phrase into OUT (default ") + kDefaultDemoOutput
             + ")"},
        {OptionId::kPreset, "--preset", nullptr, "NAME", ValueKind::kPreset, kRoomScopes | kJobScope,
         "start from a factory preset by its name (tessaline info lists them)"},
        {OptionId::kSet, "--set", nullptr, "PARAM=VALUE", ValueKind::kSetting, kRoomScopes | kJobScope,
         "set a parameter by its title and displayed value, after the preset: --set \"Abs L-R=5.31\" "
         "--set Position=L90 --set Stereo/Mono=Mono"},
        {OptionId::kAnyRate, "--any-rate", nullptr, nullptr, ValueKind::kNone, kRoomScopes | kJobScope,
         "through the class \"Tessaline Any Rate\": the room as it sounds at 44.1 kHz at every sample rate "
         "(\"Tessaline\" plays its tables at the session's rate, so the room shrinks and brightens above "
         "44.1 kHz)"},
        {OptionId::kMix, "--mix", nullptr, "PERCENT", ValueKind::kPercent, kRenderScope | kJobScope,
         "share of the room signal, 0 to 100 (default 100: room only, as the plug-in outputs it); the rest "
         "is the dry input, not delayed, while the room keeps its 255-sample offset, as in a DAW's send"},
        {OptionId::kNormalize, "--normalize", nullptr, "DBFS", ValueKind::kDecibels, kRenderScope,
         "scale the whole output so its peak is at DBFS (0 or below, e.g. -1)"},
        {OptionId::kOutputDir, "--output-dir", "-o", "DIR", ValueKind::kFolder, kRenderScope,
         "render each IN into DIR (which must exist)"},
        {OptionId::kType, "--type", nullptr, "TYPE", ValueKind::kContainer, kRenderScope | kIrScope,
         std::string("OUT's container, whatever its name: one of ") + kContainerNames
             + " (for - or a name without an extension)"},
        {OptionId::kJobs, "--jobs", "-j", "N", ValueKind::kJobs, kRenderScope,
         "render N files at a time (default: one per processor)"},
        {OptionId::kList, "--list", nullptr, "FILE", ValueKind::kListFile, kRenderScope,
         "render the jobs listed in FILE, one per line (- for stdin)"},
        {OptionId::kVary, "--vary", nullptr, "PARAM=LOW:HIGH", ValueKind::kVariation, kRenderScope,
         "draw PARAM for each output evenly from LOW to HIGH, or from the entries with PARAM=A,B,C "
         "(repeatable; after --preset and --set)"},
        {OptionId::kSeed, "--seed", nullptr, "S", ValueKind::kWhole, kRenderScope,
         "the seed of --vary's draws (a whole number, default 0)"},
        {OptionId::kRooms, "--rooms", nullptr, "FILE", ValueKind::kRoomsFile, kRenderScope,
         "record the drawn rooms in FILE instead of DIR/rooms.jsonl"},
        {OptionId::kRoomRate, "--room-rate", nullptr, "HZ", ValueKind::kRate, kRenderScope,
         "render through the room as it sounds at HZ (" + rates
             + "), whatever IN's rate: IN is resampled to HZ for the plug-in and back (libsoxr, very high "
               "quality); OUT keeps IN's rate and length"},
        {OptionId::kBlock, "--block", nullptr, "N", ValueKind::kWhole, kRenderScope,
         "samples per process call (1..8192, default 512)"},
        {OptionId::kNoTail, "--no-tail", nullptr, nullptr, ValueKind::kNone, kRenderScope,
         "stop at the end of the input instead of rendering the reverb tail"},
        {OptionId::kSize, "--size", nullptr, "WxH", ValueKind::kPixels, kPlotScope,
         "picture size in pixels (each 360..8000, default 1200x900)"},
        {OptionId::kRate, "--rate", nullptr, "HZ", ValueKind::kRate, kIrScope | kPlotScope,
         "sample rate of the response (" + rates + ", default 48000)"},
        {OptionId::kLength, "--length", nullptr, "SECONDS", ValueKind::kSeconds, kIrScope | kPlotScope,
         "length of the response, above 0 and up to 60 (default: the tail the plug-in reports, which holds "
         "the whole room response)"},
        {OptionId::kJson, "--json", nullptr, nullptr, ValueKind::kNone, kInfoScope,
         "the same as one JSON document, for scripts"},
        {OptionId::kHelp, "--help", "-h", nullptr, ValueKind::kNone, kToolScope | kCommandScopes,
         "print this help and exit"},
        {OptionId::kEndOfOptions, "--", nullptr, nullptr, ValueKind::kNone, kRoomScopes,
         "every argument after it is a file name"},
    };
}
} // namespace

const std::vector<Option>& optionTable()
{
    static const std::vector<Option> table = describeOptions();
    return table;
}

std::vector<const Option*> optionsOf(Scope scope)
{
    std::vector<const Option*> options;
    for (const Option& option : optionTable())
        if (option.scopes & scope)
            options.push_back(&option);
    return options;
}

const Option* findOption(Scope scope, const std::string& arg)
{
    for (const Option* option : optionsOf(scope))
        if (arg == option->name || (option->shortName && arg == option->shortName))
            return option;
    return nullptr;
}

std::string optionHeading(const Option& option)
{
    std::string heading = option.shortName ? std::string(option.shortName) + ", " : std::string();
    heading += option.name;
    if (option.valueName)
        heading += std::string(" ") + option.valueName;
    return heading;
}

std::vector<std::string> optionNames(Scope scope)
{
    std::vector<std::string> names;
    for (const Option* option : optionsOf(scope))
    {
        if (option->id == OptionId::kEndOfOptions)
            continue;
        names.emplace_back(option->name);
        if (option->shortName)
            names.emplace_back(option->shortName);
    }
    return names;
}

} // namespace TessalineTool
