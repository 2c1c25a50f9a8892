#include "HostEventList.h"

#include "pluginterfaces/base/funknown.h"

namespace TessalineHost {

using namespace Steinberg;

HostEventList::HostEventList(int32 capacity)
    : events(static_cast<size_t>(capacity > 0 ? capacity : 0))
{}

Vst::Event HostEventList::noteOn(int32 sampleOffset, int16 channel, int16 pitch, float velocity)
{
    Vst::Event e{};
    e.sampleOffset = sampleOffset;
    e.type = Vst::Event::kNoteOnEvent;
    e.noteOn.channel = channel;
    e.noteOn.pitch = pitch;
    e.noteOn.velocity = velocity;
    e.noteOn.noteId = -1;
    return e;
}

Vst::Event HostEventList::noteOff(int32 sampleOffset, int16 channel, int16 pitch, float velocity)
{
    Vst::Event e{};
    e.sampleOffset = sampleOffset;
    e.type = Vst::Event::kNoteOffEvent;
    e.noteOff.channel = channel;
    e.noteOff.pitch = pitch;
    e.noteOff.velocity = velocity;
    e.noteOff.noteId = -1;
    return e;
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
