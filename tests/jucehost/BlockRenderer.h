#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace jucehost {

// What one render produced: every output channel in full, and the numbers we check.
struct RenderResult
{
    juce::AudioBuffer<float> output;
    bool allFinite = true;
    int firstBadChannel = -1;
    int firstBadSample = -1;
    float peak = 0.0f;
    double rms = 0.0;
};

// [main thread] Feeds `input` to a prepared instance in fixed-size blocks, as a host's
// audio callback would, and collects the output. Input channels the plug-in lacks are
// dropped; plug-in inputs beyond the signal's channels get silence.
RenderResult renderInBlocks(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                            int blockSize);

// [main thread] Runs `numSamples` of silence, e.g. so queued parameter changes reach the processor.
void renderSilence(juce::AudioPluginInstance& instance, int numSamples, int blockSize);

} // namespace jucehost
