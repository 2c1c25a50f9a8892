#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

namespace jucehost {

// The fixed conditions every check runs under.
struct HostSettings
{
    double sampleRate = 48000.0;
    int blockSize = 256;
    double renderSeconds = 3.0;
    bool allowSilence = false;
};

// Each step prints what it saw to stdout and, on failure, one "error: ..." line to
// stderr, then returns false. All of them run on the message thread.

// Scans the bundle; succeeds with the descriptions of its classes, in the bundle's order, when
// they are the two rooms ("Tessaline", then "Tessaline Any Rate").
bool scanBundle(juce::VST3PluginFormat& format, const juce::String& path,
                std::vector<juce::PluginDescription>& descriptions);

// Creates and prepares an instance; nullptr (after printing why) on failure.
std::unique_ptr<juce::AudioPluginInstance> createInstance(juce::VST3PluginFormat& format,
                                                          const juce::PluginDescription& description,
                                                          const HostSettings& settings);

void printParameters(juce::AudioPluginInstance& instance);

// Renders the test signal; fails on a non-finite sample or, unless allowed, an all-zero output.
bool checkRender(juce::AudioPluginInstance& instance, const HostSettings& settings);

// Edits two parameters, saves the state, loads it into a fresh instance and requires that
// the re-activated first instance and the fresh one render bit-identical output.
bool checkStateRoundTrip(juce::VST3PluginFormat& format, const juce::PluginDescription& description,
                         juce::AudioPluginInstance& first, const HostSettings& settings);

} // namespace jucehost
