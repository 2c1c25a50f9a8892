#include "public.sdk/source/vst/vst2wrapper/vst2midiinput.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

Vst2MidiInput::Vst2MidiInput(int32 capacity)
    : pending(static_cast<size_t>(std::max<int32>(capacity, 1)))
{
    std::fill(std::begin(controllerParam), std::end(controllerParam), kNoParamId);
}

void Vst2MidiInput::mapControllers(IMidiMapping* mapping)
{
    for (int32 c = 0; c < kControllers; ++c)
    {
        ParamID id = kNoParamId;
        controllerMapped[c] =
            mapping
            && mapping->getMidiControllerAssignment(0, 0, static_cast<CtrlNumber>(c), id) == kResultOk;
        controllerParam[c] = id;
    }
}

void Vst2MidiInput::addEvents(const Vst2::VstEvents& events, Vst2ParameterCache& cache)
{
    Vst2::VstEvent* const* entries = events.entries();
    for (int32 i = 0; i < events.numEvents; ++i)
    {
        const Vst2::VstEvent* event = entries[i];
        if (event && event->type == Vst2::kVstMidiType)
            addMidi(*reinterpret_cast<const Vst2::VstMidiEvent*>(event), cache);
    }
}

void Vst2MidiInput::addMidi(const Vst2::VstMidiEvent& midi, Vst2ParameterCache& cache)
{
    const auto status = static_cast<uint8>(midi.midiData[0]) & 0xF0u;
    const auto channel = static_cast<int16>(static_cast<uint8>(midi.midiData[0]) & 0x0Fu);
    const int32 data1 = midi.midiData[1] & 0x7F;
    const int32 data2 = midi.midiData[2] & 0x7F;
    const int32 offset = std::max<int32>(midi.deltaFrames, 0);
    Event event{};
    event.sampleOffset = offset;
    switch (status)
    {
    case 0x90:
        if (data2 > 0)
        {
            event.type = Event::kNoteOnEvent;
            event.noteOn = {channel, static_cast<int16>(data1), 0.0f, static_cast<float>(data2) / 127.0f, 0,
                            -1};
            addNote(offset, event);
            break;
        }
        [[fallthrough]]; // note-on with velocity 0 is a note-off
    case 0x80:
        event.type = Event::kNoteOffEvent;
        event.noteOff = {channel, static_cast<int16>(data1), static_cast<float>(data2) / 127.0f, -1, 0.0f};
        addNote(offset, event);
        break;
    case 0xA0:
        event.type = Event::kPolyPressureEvent;
        event.polyPressure = {channel, static_cast<int16>(data1), static_cast<float>(data2) / 127.0f, -1};
        addNote(offset, event);
        break;
    case 0xB0: addChange(offset, data1, data2 / 127.0, cache); break;
    case 0xD0: addChange(offset, kAfterTouch, data1 / 127.0, cache); break;
    case 0xE0: addChange(offset, kPitchBend, (data2 * 128 + data1) / 16383.0, cache); break;
    default: break; // system messages have no VST3 counterpart
    }
}

void Vst2MidiInput::addChange(int32 offset, int32 controller, double value, Vst2ParameterCache& cache)
{
    if (!controllerMapped[controller] || count >= static_cast<int32>(pending.size()))
        return;
    const ParamID id = controllerParam[controller];
    cache.set(cache.indexOf(id), value, false, true);
    Pending& item = pending[static_cast<size_t>(count++)];
    item.offset = offset;
    item.isNote = false;
    item.id = id;
    item.value = value;
}

void Vst2MidiInput::addNote(int32 offset, const Event& event)
{
    if (count >= static_cast<int32>(pending.size()))
        return;
    Pending& item = pending[static_cast<size_t>(count++)];
    item.offset = offset;
    item.isNote = true;
    item.event = event;
}

void Vst2MidiInput::deliver(int32 start, int32 length, bool last, TessalineHost::HostEventList& events,
                            TessalineHost::HostParameterChanges& changes) const
{
    for (int32 i = 0; i < count; ++i)
    {
        const Pending& item = pending[static_cast<size_t>(i)];
        if (item.offset < start || (!last && item.offset >= start + length))
            continue;
        // Late events (past the block) are played at its last sample.
        const int32 offset = std::min(item.offset - start, std::max<int32>(length - 1, 0));
        if (item.isNote)
        {
            Event event = item.event;
            event.sampleOffset = offset;
            events.addEvent(event);
            continue;
        }
        int32 queueIndex = 0;
        if (changes.addParameterData(item.id, queueIndex))
            changes.queue(queueIndex)->addLatestPoint(offset, item.value);
    }
}

} // namespace Vst
} // namespace Steinberg
