// Host-side event list for one process call.
//
// Same class name and header path as the VST3 SDK's hosting EventList, which the Debian SDK subset
// does not ship. The capacity is fixed by the constructor: adding and clearing on the audio thread
// never allocates, and an event beyond the capacity is refused.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class EventList : public IEventList
{
public:
    explicit EventList(int32 maxSize = 50);
    virtual ~EventList() = default;

    void clear() { count = 0; }
    int32 getMaxSize() const { return static_cast<int32>(events.size()); }

    int32 PLUGIN_API getEventCount() SMTG_OVERRIDE { return count; }
    tresult PLUGIN_API getEvent(int32 index, Event& e) SMTG_OVERRIDE;
    tresult PLUGIN_API addEvent(Event& e) SMTG_OVERRIDE;

    // Not reference counted: its owner keeps it for as long as it is used.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<Event> events;
    int32 count = 0;
};

} // namespace Vst
} // namespace Steinberg
