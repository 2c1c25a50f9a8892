#include "HostEventList.h"

#include "pluginterfaces/base/funknown.h"

namespace TessalineHost {

using namespace Steinberg;

HostEventList::HostEventList(int32 capacity)
    : events(static_cast<size_t>(capacity > 0 ? capacity : 0))
{}

namespace {
// A note event of the given type, its note record (noteOn or noteOff) filled with no note id.
template <class Note>
Vst::Event noteEvent(int32 sampleOffset, uint16 type, Note Vst::Event::*record, int16 channel, int16 pitch,
                     float velocity)
{
    Vst::Event e{};
    e.sampleOffset = sampleOffset;
    e.type = type;
    Note& note = e.*record;
    note.channel = channel;
    note.pitch = pitch;
    note.velocity = velocity;
    note.noteId = -1;
    return e;
}
} // namespace

Vst::Event HostEventList::noteOn(int32 sampleOffset, int16 channel, int16 pitch, float velocity)
{
    return noteEvent(sampleOffset, Vst::Event::kNoteOnEvent, &Vst::Event::noteOn, channel, pitch, velocity);
}

Vst::Event HostEventList::noteOff(int32 sampleOffset, int16 channel, int16 pitch, float velocity)
{
    return noteEvent(sampleOffset, Vst::Event::kNoteOffEvent, &Vst::Event::noteOff, channel, pitch, velocity);
}

tresult PLUGIN_API HostEventList::getEvent(int32 index, Vst::Event& e)
{
    if (index < 0 || index >= count)
        return kInvalidArgument;
    e = events[static_cast<size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API HostEventList::addEvent(Vst::Event& e)
{
    if (count >= capacity())
        return kOutOfMemory;
    events[static_cast<size_t>(count++)] = e;
    return kResultOk;
}

tresult PLUGIN_API HostEventList::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IEventList)
    QUERY_INTERFACE(iid, obj, Vst::IEventList::iid, Vst::IEventList)
    *obj = nullptr;
    return kNoInterface;
}

} // namespace TessalineHost
