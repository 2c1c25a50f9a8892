#include "public.sdk/source/vst/hosting/eventlist.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

EventList::EventList(int32 maxSize)
    : events(static_cast<size_t>(std::max<int32>(maxSize, 0)))
{}

tresult PLUGIN_API EventList::queryInterface(const TUID _iid, void** obj)
{
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IEventList)
    QUERY_INTERFACE(_iid, obj, IEventList::iid, IEventList)
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API EventList::getEvent(int32 index, Event& e)
{
    if (index < 0 || index >= count)
        return kInvalidArgument;
    e = events[static_cast<size_t>(index)];
    return kResultTrue;
}

tresult PLUGIN_API EventList::addEvent(Event& e)
{
    if (count >= static_cast<int32>(events.size()))
        return kResultFalse;
    events[static_cast<size_t>(count++)] = e;
    return kResultTrue;
}

} // namespace Vst
} // namespace Steinberg
