// tessaline_jucehost: loads a VST3 bundle through JUCE's VST3 hosting, lists it, renders
// a test signal and checks that a saved state reproduces the same audio in a new instance.
#include "PluginChecks.h"

#include <iostream>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int usage()
{
    std::cerr << "usage: tessaline_jucehost [--allow-silence] <path/to/Plugin.vst3>\n"
                 "  --allow-silence  do not fail when the rendered output is all zero\n";
    return kExitUsage;
}

int run(const juce::String& path, const jucehost::HostSettings& settings)
{
    if (!juce::File(path).exists())
    {
        std::cerr << "error: no plug-in bundle at '" << path << "'\n";
        return kExitFailed;
    }

    juce::VST3PluginFormat format;
    std::vector<juce::PluginDescription> descriptions;
    if (!jucehost::scanBundle(format, path, descriptions))
        return kExitFailed;

    // Every class of the bundle, at the settings' rate and at twice it.
    for (const juce::PluginDescription& description : descriptions)
        for (const double rate : {settings.sampleRate, 2.0 * settings.sampleRate})
        {
            jucehost::HostSettings at = settings;
            at.sampleRate = rate;
            std::cout << "class: " << description.name << " at " << rate << " Hz\n";
            auto instance = jucehost::createInstance(format, description, at);
            if (instance == nullptr)
                return kExitFailed;
            jucehost::printParameters(*instance);
            if (!jucehost::checkRender(*instance, at))
                return kExitFailed;
            if (!jucehost::checkStateRoundTrip(format, description, *instance, at))
                return kExitFailed;
            instance->releaseResources();
        }
    std::cout << "all checks passed\n";
    return kExitOk;
}

} // namespace

int main(int argc, char* argv[])
{
    jucehost::HostSettings settings;
    juce::String path;
    for (int i = 1; i < argc; ++i)
    {
        const juce::String arg(argv[i]);
        if (arg == "--allow-silence")
            settings.allowSilence = true;
        else if (arg.startsWith("-") || path.isNotEmpty())
            return usage();
        else
            path = arg;
    }
    if (path.isEmpty())
        return usage();

    // The message manager must exist for plug-in hosting; no window is ever opened.
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const juce::File absolute = juce::File::getCurrentWorkingDirectory().getChildFile(path);
    return run(absolute.getFullPathName(), settings);
}
