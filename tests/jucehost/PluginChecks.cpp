#include "PluginChecks.h"

#include "BlockRenderer.h"
#include "TestSignal.h"

#include <cstring>
#include <iomanip>
#include <sstream>
#include <iostream>
#include <iterator>

namespace jucehost {
namespace {

// The two edits made before saving: the first parameter to 0.8, the second to 0.75.
constexpr float kEditedValues[] = {0.8f, 0.75f};

std::ostream& operator<<(std::ostream& out, const juce::String& text) { return out << text.toStdString(); }

bool fail(const juce::String& message)
{
    std::cerr << "error: " << message << "\n";
    return false;
}

juce::String parameterIdOf(juce::AudioProcessorParameter& parameter)
{
    if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(&parameter))
        return hosted->getParameterID();
    return "?";
}

// Enough digits to tell any two floats apart.
juce::String exact(float value)
{
    std::ostringstream text;
    text << std::setprecision(9) << value;
    return text.str();
}

// First place two renders differ, or -1 when they are bit-identical.
int firstDifference(const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel)
{
    const float* x = a.getReadPointer(channel);
    const float* y = b.getReadPointer(channel);
    for (int i = 0; i < a.getNumSamples(); ++i)
        if (std::memcmp(&x[i], &y[i], sizeof(float)) != 0)
            return i;
    return -1;
}

bool requireIdenticalRenders(const RenderResult& first, const RenderResult& fresh)
{
    if (first.output.getNumChannels() != fresh.output.getNumChannels()
        || first.output.getNumSamples() != fresh.output.getNumSamples())
        return fail("state round trip: the two instances produced outputs of different shape");

    for (int channel = 0; channel < first.output.getNumChannels(); ++channel)
    {
        const int at = firstDifference(first.output, fresh.output, channel);
        if (at >= 0)
        {
            return fail("state round trip: outputs differ, first at channel " + juce::String(channel)
                        + " sample " + juce::String(at) + " (first instance "
                        + exact(first.output.getSample(channel, at)) + ", fresh instance "
                        + exact(fresh.output.getSample(channel, at)) + ")");
        }
    }
    return true;
}

// The restored instance must show every parameter as the saved one does.
bool requireSameParameterTexts(juce::AudioPluginInstance& first, juce::AudioPluginInstance& fresh)
{
    const auto& a = first.getParameters();
    const auto& b = fresh.getParameters();
    if (a.size() != b.size())
        return fail("state round trip: parameter counts differ (" + juce::String(a.size()) + " vs "
                    + juce::String(b.size()) + ")");
    bool same = true;
    for (int i = 0; i < a.size(); ++i)
    {
        const juce::String saved = a[i]->getCurrentValueAsText();
        const juce::String restored = b[i]->getCurrentValueAsText();
        if (saved != restored)
        {
            same = fail("state round trip: parameter " + juce::String(i) + " '" + a[i]->getName(64) + "' is '"
                        + saved + "' in the saved instance but '" + restored + "' after loading the state");
        }
    }
    return same;
}

// JUCE wraps a VST3 state as XML with one child per interface that saved successfully.
bool holdsComponentState(const juce::MemoryBlock& state)
{
    const auto xml =
        juce::AudioProcessor::getXmlFromBinary(state.getData(), static_cast<int>(state.getSize()));
    return xml != nullptr && xml->getChildByName("IComponent") != nullptr;
}

bool renderIsUsable(const RenderResult& render, const juce::String& what)
{
    if (!render.allFinite)
        return fail(what + ": non-finite output sample at channel " + juce::String(render.firstBadChannel)
                    + " sample " + juce::String(render.firstBadSample));
    return true;
}

} // namespace

bool scanBundle(juce::VST3PluginFormat& format, const juce::String& path,
                std::vector<juce::PluginDescription>& descriptions)
{
    if (!format.fileMightContainThisPluginType(path))
        return fail("'" + path + "' is not a VST3 bundle");

    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile(found, path);
    std::cout << "scan: " << found.size() << " plug-in(s) in " << path << "\n";
    for (const auto* each : found)
    {
        std::cout << "  name: " << each->name << "\n"
                  << "  manufacturer: " << each->manufacturerName << "\n"
                  << "  category: " << each->category << "\n"
                  << "  version: " << each->version << "\n"
                  << "  uid: " << juce::String::toHexString(each->uniqueId) << " ("
                  << each->createIdentifierString() << ")\n"
                  << "  inputs/outputs: " << each->numInputChannels << "/" << each->numOutputChannels << "\n";
    }
    if (found.size() != 2 || found[0]->name != "Tessaline" || found[1]->name != "Tessaline Any Rate")
        return fail("expected the two rooms in the bundle, found " + juce::String(found.size())
                    + " plug-in(s)");
    descriptions.clear();
    for (const auto* each : found)
        descriptions.push_back(*each);
    return true;
}

std::unique_ptr<juce::AudioPluginInstance> createInstance(juce::VST3PluginFormat& format,
                                                          const juce::PluginDescription& description,
                                                          const HostSettings& settings)
{
    juce::String error;
    auto instance =
        format.createInstanceFromDescription(description, settings.sampleRate, settings.blockSize, error);
    if (instance == nullptr)
    {
        fail("could not create an instance of '" + description.name
             + "': " + (error.isNotEmpty() ? error : juce::String("no reason given")));
        return nullptr;
    }
    instance->prepareToPlay(settings.sampleRate, settings.blockSize);
    return instance;
}

void printParameters(juce::AudioPluginInstance& instance)
{
    std::cout << "instance: " << instance.getName() << ", " << instance.getTotalNumInputChannels() << " in / "
              << instance.getTotalNumOutputChannels() << " out, latency " << instance.getLatencySamples()
              << " samples, tail " << instance.getTailLengthSeconds() << " s\n";

    const auto& parameters = instance.getParameters();
    std::cout << "parameters: " << parameters.size() << "\n";
    for (auto* parameter : parameters)
    {
        std::cout << "  [" << parameter->getParameterIndex() << "] id " << parameterIdOf(*parameter) << " '"
                  << parameter->getName(64) << "' default " << parameter->getDefaultValue() << " value '"
                  << parameter->getCurrentValueAsText() << "'\n";
    }
}

bool checkRender(juce::AudioPluginInstance& instance, const HostSettings& settings)
{
    const auto input = makeTestSignal(settings.sampleRate, settings.renderSeconds);
    const RenderResult render = renderInBlocks(instance, input, settings.blockSize);
    std::cout << "render: " << render.output.getNumSamples() << " samples x "
              << render.output.getNumChannels() << " channels, peak " << render.peak << ", rms " << render.rms
              << "\n";

    if (!renderIsUsable(render, "render"))
        return false;
    if (render.output.getNumChannels() == 0)
        return fail("render: the plug-in has no output channels");
    if (render.peak == 0.0f)
    {
        if (!settings.allowSilence)
            return fail("render: output is all zero (pass --allow-silence to accept that)");
        std::cout << "render: output is all zero (allowed)\n";
    }
    return true;
}

bool checkStateRoundTrip(juce::VST3PluginFormat& format, const juce::PluginDescription& description,
                         juce::AudioPluginInstance& first, const HostSettings& settings)
{
    const auto& parameters = first.getParameters();
    const int numEdits = static_cast<int>(std::size(kEditedValues));
    if (parameters.size() < numEdits)
        return fail("state round trip: need at least " + juce::String(numEdits) + " parameters, found "
                    + juce::String(parameters.size()));

    for (int i = 0; i < numEdits; ++i)
    {
        parameters[i]->setValueNotifyingHost(kEditedValues[i]);
        std::cout << "edit: parameter " << i << " '" << parameters[i]->getName(64) << "' -> "
                  << kEditedValues[i] << " ('" << parameters[i]->getCurrentValueAsText() << "')\n";
    }
    // Edits reach the processor inside process(), as in any host; one block delivers them.
    renderSilence(first, settings.blockSize, settings.blockSize);

    juce::MemoryBlock state;
    first.getStateInformation(state);
    std::cout << "state: " << state.getSize() << " bytes\n";
    if (!holdsComponentState(state))
        return fail("state round trip: the saved state holds no component data "
                    "(the plug-in's IComponent::getState did not succeed)");

    auto fresh = createInstance(format, description, settings);
    if (fresh == nullptr)
        return false;
    fresh->releaseResources();
    fresh->setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    if (!requireSameParameterTexts(first, *fresh))
        return false;

    juce::MemoryBlock reloaded;
    fresh->getStateInformation(reloaded);
    if (reloaded != state)
        return fail("state round trip: the restored instance saves a different state ("
                    + juce::String(reloaded.getSize()) + " bytes vs " + juce::String(state.getSize()) + ")");

    // Activation must restart both cleanly: the first instance's history may not leak through.
    first.releaseResources();
    first.prepareToPlay(settings.sampleRate, settings.blockSize);
    fresh->prepareToPlay(settings.sampleRate, settings.blockSize);

    const auto input = makeTestSignal(settings.sampleRate, settings.renderSeconds);
    const RenderResult fromFirst = renderInBlocks(first, input, settings.blockSize);
    const RenderResult fromFresh = renderInBlocks(*fresh, input, settings.blockSize);
    std::cout << "round-trip render: peak " << fromFirst.peak << " / " << fromFresh.peak << ", rms "
              << fromFirst.rms << " / " << fromFresh.rms << "\n";
    if (!renderIsUsable(fromFirst, "round-trip render (first instance)")
        || !renderIsUsable(fromFresh, "round-trip render (fresh instance)"))
        return false;
    if (!requireIdenticalRenders(fromFirst, fromFresh))
        return false;

    fresh->releaseResources();
    std::cout << "state round trip: identical\n";
    return true;
}

} // namespace jucehost
