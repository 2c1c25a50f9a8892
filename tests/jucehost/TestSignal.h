#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace jucehost {

// Deterministic stereo test material: a few short noise bursts from a fixed seed,
// different on each channel, silence in between so the tail is audible.
juce::AudioBuffer<float> makeTestSignal(double sampleRate, double seconds);

} // namespace jucehost
