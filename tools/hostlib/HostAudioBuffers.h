// Audio buffers and the ProcessData record for one input and one output bus of 32-bit floats.
//
// Channel memory for maxBlockSize samples is allocated at construction; setting up a block never
// allocates. An input channel count of 0 declares no input bus (numInputs 0, inputs null). The
// process context is attached only after useContext(true).
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <vector>

namespace TessalineHost {

class HostAudioBuffers
{
public:
    HostAudioBuffers(Steinberg::int32 inputChannels, Steinberg::int32 outputChannels,
                     Steinberg::int32 maxBlockSize);
    HostAudioBuffers(const HostAudioBuffers&) = delete;
    HostAudioBuffers& operator=(const HostAudioBuffers&) = delete;

    Steinberg::int32 inputChannels() const { return inputBus.numChannels; }
    Steinberg::int32 outputChannels() const { return outputBus.numChannels; }
    Steinberg::int32 maxBlockSize() const { return blockCapacity; }

    // Channel memory (maxBlockSize samples), or null for a channel that does not exist.
    float* input(Steinberg::int32 channel);
    float* output(Steinberg::int32 channel);

    // Zeroes every channel of both buses.
    void clear();
    // Writes value into every sample of every output channel (to see what a plug-in overwrites).
    void fillOutputs(float value);

    // Prepares the record for a block of numSamples (clamped to 0..maxBlockSize) and returns it.
    // Parameter changes and events stay as set through data().
    Steinberg::Vst::ProcessData& prepare(Steinberg::int32 numSamples);
    Steinberg::Vst::ProcessData& data() { return processData; }

    // Attaches (or detaches) the process context; context() is the record that gets attached.
    void useContext(bool on);
    Steinberg::Vst::ProcessContext& context() { return processContext; }

private:
    Steinberg::int32 blockCapacity;
    std::vector<std::vector<float>> inputMemory;
    std::vector<std::vector<float>> outputMemory;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    Steinberg::Vst::AudioBusBuffers inputBus;
    Steinberg::Vst::AudioBusBuffers outputBus;
    Steinberg::Vst::ProcessContext processContext{};
    Steinberg::Vst::ProcessData processData;
};

} // namespace TessalineHost
