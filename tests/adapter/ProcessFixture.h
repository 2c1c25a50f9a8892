// In-process processing rig: a Processor around a recording DSP object, driven with the test
// host library's buffers, parameter changes and events.
#pragma once

#include "AdapterFixture.h"

#include "HostAudioBuffers.h"
#include "HostEventList.h"
#include "HostParameterChanges.h"
#include "core/IMidiEventList.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>
#include <vector>

namespace AdapterTest {

// Records what the processing path hands the DSP object, frame by frame.
class RecordingDsp : public FixtureDsp
{
public:
    struct Delivery
    {
        int64_t frame;
        int64_t pitch;
    };
    int64_t frame = 0;                     // frames processed so far
    std::vector<Delivery> notes;           // note-ons with the frame before which they arrived
    std::vector<uint64_t> samplePositions; // uSamplePos seen by each frame
    std::vector<float> inputs;             // channel 0 of every input frame
    uint32_t lastChannels = 0;
    int prepares = 0;
    IMidiEventList* eventList = nullptr; // the list the processor offered

    void hostMessage(uint32_t type, CHostMessage& message) override
    {
        if (type == msgMidiEventList)
            eventList = message.pMidiEvents;
        CPlugIn::hostMessage(type, message);
    }

    bool midiNoteOn(uint32_t, uint32_t note, uint32_t) override
    {
        notes.push_back({frame, note});
        return true;
    }
    bool prepare() override
    {
        ++prepares;
        return CPlugIn::prepare();
    }
    bool processFrame(const float* in, float* out, uint32_t inChannels, uint32_t outChannels) override
    {
        lastChannels = inChannels;
        samplePositions.push_back(m_HostInfo.uSamplePos);
        inputs.push_back(in[0]);
        for (uint32_t c = 0; c < outChannels; ++c)
            out[c] = in[c] * 2.0f + values[0]; // output shows the gain control's value
        ++frame;
        return true;
    }
};

// A Processor with a RecordingDsp, initialized, set up for stereo 48 kHz and active.
struct ProcessRig
{
    RecordingDsp* dsp;
    ProcessorHolder holder;
    TessalineHost::HostAudioBuffers buffers{2, 2, 256};
    TessalineHost::HostParameterChanges changes{16, 16};
    TessalineHost::HostEventList events{32};

    explicit ProcessRig(RecordingDsp* fixture = nullptr, bool activate = true)
        : dsp(fixture ? fixture : standardDsp())
        , holder(dsp)
    {
        EXPECT_EQ(holder->initialize(nullptr), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 256, 48000.0};
        EXPECT_EQ(holder->setupProcessing(setup), kResultOk);
        if (activate)
        {
            EXPECT_EQ(holder->setActive(true), kResultOk);
        }
    }

    static RecordingDsp* standardDsp()
    {
        auto* dsp = new RecordingDsp;
        dsp->addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.5f);
        dsp->addControl("Choice", 100, kDataUint, 0.0f, 10.0f, 0.0f);
        dsp->addControl("Count", 100, kDataInt, 0.0f, 4.0f, 1.0f);
        dsp->m_PresetNames[0] = "First";
        dsp->m_PresetNames[2] = "Third";
        const double presets[3][3] = {{0.25, 3.0, 2.0}, {0.0, 0.0, 0.0}, {0.75, 7.0, 3.0}};
        for (uint32_t k = 0; k < 3; ++k)
            for (int slot = 0; slot < 3; ++slot)
                dsp->m_ControlList.controlAt(k)->dPresetValues[slot] = presets[slot][k];
        return dsp;
    }

    Processor* operator->() const { return holder.processor; }

    tresult run(int32 samples, bool withChanges = true, bool withEvents = true)
    {
        ProcessData& data = buffers.prepare(samples);
        data.inputParameterChanges = withChanges ? &changes : nullptr;
        data.inputEvents = withEvents ? &events : nullptr;
        return holder->process(data);
    }
};

// A component state stream in memory.
inline std::vector<uint8_t> saveState(Processor* processor, tresult expect = kResultOk)
{
    Steinberg::MemoryStream stream;
    EXPECT_EQ(processor->getState(&stream), expect);
    const auto* bytes = reinterpret_cast<const uint8_t*>(stream.getData());
    return std::vector<uint8_t>(bytes, bytes + stream.getSize());
}

inline Steinberg::IPtr<Steinberg::MemoryStream> streamOf(const std::vector<uint8_t>& bytes)
{
    auto stream = Steinberg::owned(new Steinberg::MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    return stream;
}

template <typename T>
void putLE(std::vector<uint8_t>& out, T value)
{
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof raw);
    for (uint8_t byte : raw)
        out.push_back(byte);
}

} // namespace AdapterTest
