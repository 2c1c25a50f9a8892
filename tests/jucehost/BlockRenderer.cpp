#include "BlockRenderer.h"

#include <algorithm>
#include <cmath>

namespace jucehost {
namespace {

void measure(RenderResult& result)
{
    double sumSquares = 0.0;
    const int numChannels = result.output.getNumChannels();
    const int numSamples = result.output.getNumSamples();
    for (int channel = 0; channel < numChannels; ++channel)
    {
        const float* data = result.output.getReadPointer(channel);
        for (int i = 0; i < numSamples; ++i)
        {
            const float value = data[i];
            if (!std::isfinite(value))
            {
                if (result.allFinite)
                {
                    result.allFinite = false;
                    result.firstBadChannel = channel;
                    result.firstBadSample = i;
                }
                continue;
            }
            result.peak = std::max(result.peak, std::abs(value));
            sumSquares += static_cast<double>(value) * value;
        }
    }
    const double count = static_cast<double>(numChannels) * numSamples;
    result.rms = count > 0 ? std::sqrt(sumSquares / count) : 0.0;
}

} // namespace

RenderResult renderInBlocks(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                            int blockSize)
{
    const int numIn = instance.getTotalNumInputChannels();
    const int numOut = instance.getTotalNumOutputChannels();
    const int numSamples = input.getNumSamples();
    const int copyIn = std::min(numIn, input.getNumChannels());

    RenderResult result;
    result.output.setSize(numOut, numSamples);
    result.output.clear();

    juce::AudioBuffer<float> block(std::max(numIn, numOut), blockSize);
    juce::MidiBuffer midi;
    for (int start = 0; start < numSamples; start += blockSize)
    {
        const int length = std::min(blockSize, numSamples - start);
        block.setSize(block.getNumChannels(), length, false, false, true);
        block.clear();
        for (int channel = 0; channel < copyIn; ++channel)
            block.copyFrom(channel, 0, input, channel, start, length);

        midi.clear();
        instance.processBlock(block, midi);

        for (int channel = 0; channel < numOut; ++channel)
            result.output.copyFrom(channel, start, block, channel, 0, length);
    }
    measure(result);
    return result;
}

void renderSilence(juce::AudioPluginInstance& instance, int numSamples, int blockSize)
{
    juce::AudioBuffer<float> silence(std::max(1, instance.getTotalNumInputChannels()), numSamples);
    silence.clear();
    renderInBlocks(instance, silence, blockSize);
}

} // namespace jucehost
