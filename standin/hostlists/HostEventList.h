// The host's event list for one block (IEventList): notes and other events with sample offsets.
//
// Room for `capacity` events is reserved at construction; adding never allocates. Owned by the
// caller; addRef/release only count.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace TessalineHost {

class HostEventList : public Steinberg::Vst::IEventList
{
public:
    explicit HostEventList(Steinberg::int32 capacity = 512);
    virtual ~HostEventList() = default;
    HostEventList(const HostEventList&) = delete;
    HostEventList& operator=(const HostEventList&) = delete;

    void clear() { count = 0; }
    Steinberg::int32 capacity() const { return static_cast<Steinberg::int32>(events.size()); }

    // Event records for the common cases (bus 0); velocity is 0..1.
    static Steinberg::Vst::Event noteOn(Steinberg::int32 sampleOffset, Steinberg::int16 channel,
                                        Steinberg::int16 pitch, float velocity);
    static Steinberg::Vst::Event noteOff(Steinberg::int32 sampleOffset, Steinberg::int16 channel,
                                         Steinberg::int16 pitch, float velocity);

    //--- IEventList
    Steinberg::int32 PLUGIN_API getEventCount() override { return count; }
    // kInvalidArgument for an index outside the list.
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
    // Appends in the given order; kOutOfMemory when the list is full.
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;

    //--- FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return ++refs; }
    Steinberg::uint32 PLUGIN_API release() override { return refs > 1 ? --refs : 1; }

private:
    std::vector<Steinberg::Vst::Event> events; // fixed size; the first `count` are in use
    Steinberg::int32 count = 0;
    Steinberg::uint32 refs = 1;
};

} // namespace TessalineHost
