#include "HostAudioBuffers.h"

#include <algorithm>

namespace TessalineHost {

using namespace Steinberg;

namespace {

void allocate(std::vector<std::vector<float>>& memory, std::vector<float*>& pointers, int32 channels,
              int32 samples)
{
    memory.assign(static_cast<size_t>(std::max(channels, 0)),
                  std::vector<float>(static_cast<size_t>(samples), 0.f));
    for (auto& channel : memory)
        pointers.push_back(channel.data());
}

} // namespace

HostAudioBuffers::HostAudioBuffers(int32 inputChannels, int32 outputChannels, int32 maxBlockSize)
    : blockCapacity(std::max(maxBlockSize, 0))
{
    allocate(inputMemory, inputPointers, inputChannels, blockCapacity);
    allocate(outputMemory, outputPointers, outputChannels, blockCapacity);
    inputBus.numChannels = static_cast<int32>(inputPointers.size());
    inputBus.channelBuffers32 = inputPointers.empty() ? nullptr : inputPointers.data();
    outputBus.numChannels = static_cast<int32>(outputPointers.size());
    outputBus.channelBuffers32 = outputPointers.empty() ? nullptr : outputPointers.data();

    processData.processMode = Vst::kRealtime;
    processData.symbolicSampleSize = Vst::kSample32;
    processData.numInputs = inputBus.numChannels > 0 ? 1 : 0;
    processData.inputs = inputBus.numChannels > 0 ? &inputBus : nullptr;
    processData.numOutputs = outputBus.numChannels > 0 ? 1 : 0;
    processData.outputs = outputBus.numChannels > 0 ? &outputBus : nullptr;

    processContext.sampleRate = 44100.0;
    processContext.tempo = 120.0;
    processContext.timeSigNumerator = 4;
    processContext.timeSigDenominator = 4;
}

float* HostAudioBuffers::input(int32 channel)
{
    if (channel < 0 || channel >= inputBus.numChannels)
        return nullptr;
    return inputPointers[static_cast<size_t>(channel)];
}

float* HostAudioBuffers::output(int32 channel)
{
    if (channel < 0 || channel >= outputBus.numChannels)
        return nullptr;
    return outputPointers[static_cast<size_t>(channel)];
}

void HostAudioBuffers::clear()
{
    for (auto& channel : inputMemory)
        std::fill(channel.begin(), channel.end(), 0.f);
    fillOutputs(0.f);
}

void HostAudioBuffers::fillOutputs(float value)
{
    for (auto& channel : outputMemory)
        std::fill(channel.begin(), channel.end(), value);
}

Vst::ProcessData& HostAudioBuffers::prepare(int32 numSamples)
{
    processData.numSamples = std::clamp(numSamples, 0, blockCapacity);
    return processData;
}

void HostAudioBuffers::useContext(bool on) { processData.processContext = on ? &processContext : nullptr; }

} // namespace TessalineHost
