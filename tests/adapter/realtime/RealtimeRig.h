// The real effect behind the Processor (the original room, or another class's DSP object), active
// at 48 kHz or a given rate, with host-side objects prepared so that a block can be processed
// without the test itself allocating.
#pragma once

#include "adapter/processor/Processor.h"
#include "room/CTessaline.h"

#include "HostAudioBuffers.h"
#include "HostEventList.h"
#include "HostParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"

namespace AdapterTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

struct RealtimeRig
{
    Processor* processor;
    TessalineHost::HostAudioBuffers buffers{2, 2, 1024};
    TessalineHost::HostParameterChanges changes{32, 8};
    TessalineHost::HostEventList events{32};
    char16 tag[9] = {'T', 'O', 'V', 'U', 'M', 'I', 'D', 'I', 0};

    explicit RealtimeRig(int32 maxBlock = 1024, Processor::PlugInCreator creator = &::createPlugIn,
                         double rate = 48000.0)
        : processor(new Processor(creator))
    {
        processor->initialize(nullptr);
        ProcessSetup setup{kRealtime, kSample32, maxBlock, rate};
        processor->setupProcessing(setup);
        processor->setActive(true);
    }
    ~RealtimeRig()
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }

    // Fills the block's changes and events from a counter (no allocation: storage is reserved).
    void fillBlock(uint32_t n, int32 samples)
    {
        changes.clear();
        events.clear();
        const double v = (n % 97) / 96.0;
        changes.addChange(0, 0, v); // Gain
        changes.addChange(static_cast<ParamID>(1 + n % 10), samples / 2, 1.0 - v);
        changes.addChange(kParamJoystickX, 0, v);
        changes.addChange(kParamPitchBend, samples - 1, v);
        changes.addChange(kParamBypass, 0, n % 50 == 49 ? 1.0 : 0.0);
        if (n % 40 == 20)
            changes.addChange(kParamFactoryPresets, 0, (n / 40) % 2); // a program change
        Event note = TessalineHost::HostEventList::noteOn(static_cast<int32>(n % samples), 0, 60, 0.5f);
        events.addEvent(note);
        Event raw = {};
        raw.type = Event::kChordEvent;
        raw.sampleOffset = samples + 3; // beyond the block: delivered at its last frame
        raw.chord.bassNote = 176;
        raw.chord.mask = 1;
        raw.chord.textLen = 64;
        raw.chord.text = tag;
        events.addEvent(raw);
    }

    tresult process(int32 samples, bool withChanges = true)
    {
        ProcessData& data = buffers.prepare(samples);
        data.inputParameterChanges = withChanges ? &changes : nullptr;
        data.inputEvents = withChanges ? &events : nullptr;
        return processor->process(data);
    }
};

} // namespace AdapterTest
